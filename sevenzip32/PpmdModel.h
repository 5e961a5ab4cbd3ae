#pragma once
#include <cstdint>

#include "PpmdHeap.h"
#include "PpmdRangeDecoder.h"

namespace sevenzip {

// PPMd variant H (Dmitry Shkarin's order-N context model with secondary escape
// estimation), as 7z method 03 04 01 drives it. The model must evolve exactly as the
// encoder's did, including when its memory runs out and it starts afresh.
class PpmdModel {
 public:
  static constexpr unsigned kMaxOrder = 64;

  PpmdModel(uint32_t memorySize, unsigned maxOrder);

  // The next byte, -1 at the end mark, -2 for damaged data.
  int DecodeSymbol(PpmdRangeDecoder& rc);

 private:
  struct State {
    uint8_t symbol;
    uint8_t freq;
    uint16_t successorLow;  // two halves: states are only 2-byte aligned
    uint16_t successorHigh;
  };
  struct Context {
    uint16_t numStats;
    uint16_t summFreq;  // with a single state, that state lives here and in stats
    uint32_t stats;
    uint32_t suffix;
  };
  // Adaptive escape estimate for one class of contexts.
  struct See {
    uint16_t summ;
    uint8_t shift;
    uint8_t count;
    void Update();
  };

  static State* OneState(Context* c) { return reinterpret_cast<State*>(&c->summFreq); }
  static uint32_t Successor(const State* s) { return s->successorLow | uint32_t(s->successorHigh) << 16; }
  static void SetSuccessor(State* s, uint32_t v) {
    s->successorLow = uint16_t(v);
    s->successorHigh = uint16_t(v >> 16);
  }
  Context* ContextAt(uint32_t ref) { return heap_.At<Context>(ref); }
  // A list of 1 to 256 states, and one being added, fits in the heap's list span.
  static_assert(257 * sizeof(State) <= PpmdHeap::kListSpan);
  State* Stats(const Context* c) {
    if (c->numStats - 1u > 255u) ThrowDamaged("PPMd model damaged");
    return heap_.At<State>(c->stats);
  }
  // The state for the found symbol among c's states.
  State* FindSymbol(Context* c, uint8_t symbol);

  void Restart();
  uint16_t* BinaryProbability();
  See* MakeEscapeFrequency(unsigned numMasked, uint32_t& escFreq);
  Context* CreateSuccessors(bool skip);
  void UpdateModel();
  void NextContext();
  void Rescale();
  void UpdateFirst();
  void UpdateOther();
  void UpdateAfterEscape();
  void UpdateBinary();

  PpmdHeap heap_;
  unsigned maxOrder_;
  Context* minContext_ = nullptr;
  Context* maxContext_ = nullptr;
  State* foundState_ = nullptr;
  unsigned orderFall_ = 0, initEsc_ = 0, prevSuccess_ = 0, hiBitsFlag_ = 0;
  int32_t runLength_ = 0, initRunLength_ = 0;
  uint8_t ns2Index_[256];
  uint8_t ns2BinIndex_[256];
  uint8_t hiBits2Flag_[256];
  See dummySee_;
  See see_[25][16];
  uint16_t binSumm_[128][64];
};

}  // namespace sevenzip
