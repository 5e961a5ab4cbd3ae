#include "PpmdModel.h"

#include <cstring>

namespace sevenzip {
namespace {

constexpr unsigned kMaxFreq = 124;
constexpr unsigned kIntBits = 7;
constexpr unsigned kPeriodBits = 7;
constexpr unsigned kBinScale = 1 << (kIntBits + kPeriodBits);
constexpr uint16_t kInitBinEsc[8] = {0x3CDD, 0x1F3F, 0x59BF, 0x48F3, 0x64A1, 0x5ABC, 0x6632, 0x6051};
constexpr uint8_t kExpEscape[16] = {25, 14, 9, 7, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 2};
// No valid model has a suffix chain longer than its order.
constexpr unsigned kMaxChain = PpmdModel::kMaxOrder + 1;

unsigned Mean(unsigned prob) { return (prob + (1 << (kPeriodBits - 2))) >> kPeriodBits; }

}  // namespace

void PpmdModel::See::Update() {
  if (shift < kPeriodBits && --count == 0) {
    summ = uint16_t(summ << 1);
    count = uint8_t(3 << shift++);
  }
}

PpmdModel::PpmdModel(uint32_t memorySize, unsigned maxOrder) : heap_(memorySize), maxOrder_(maxOrder) {
  ns2BinIndex_[0] = 0;
  ns2BinIndex_[1] = 2;
  std::memset(ns2BinIndex_ + 2, 4, 9);
  std::memset(ns2BinIndex_ + 11, 6, 256 - 11);
  unsigned i = 0;
  for (; i < 3; ++i) ns2Index_[i] = uint8_t(i);
  for (unsigned m = i, k = 1; i < 256; ++i) {
    ns2Index_[i] = uint8_t(m);
    if (--k == 0) k = (++m) - 2;
  }
  std::memset(hiBits2Flag_, 0, 0x40);
  std::memset(hiBits2Flag_ + 0x40, 8, 0x100 - 0x40);
  dummySee_ = {0, kPeriodBits, 64};
  Restart();
}

void PpmdModel::Restart() {
  heap_.Reset();
  orderFall_ = maxOrder_;
  runLength_ = initRunLength_ = -int32_t(maxOrder_ < 12 ? maxOrder_ : 12) - 1;
  prevSuccess_ = 0;

  // Every memory size accepted leaves room for the root and its 256 states.
  minContext_ = maxContext_ = static_cast<Context*>(heap_.AllocContext());
  minContext_->suffix = 0;
  minContext_->numStats = 256;
  minContext_->summFreq = 256 + 1;
  foundState_ = static_cast<State*>(heap_.AllocUnits(PpmdHeap::kIndexCount - 1));
  minContext_->stats = heap_.Ref(foundState_);
  for (unsigned i = 0; i < 256; ++i) foundState_[i] = {uint8_t(i), 1, 0, 0};

  for (unsigned i = 0; i < 128; ++i)
    for (unsigned k = 0; k < 8; ++k) {
      uint16_t value = uint16_t(kBinScale - kInitBinEsc[k] / (i + 2));
      for (unsigned m = 0; m < 64; m += 8) binSumm_[i][k + m] = value;
    }
  for (unsigned i = 0; i < 25; ++i)
    for (auto& s : see_[i]) s = {uint16_t((5 * i + 10) << (kPeriodBits - 4)), kPeriodBits - 4, 4};
}

PpmdModel::State* PpmdModel::FindSymbol(Context* c, uint8_t symbol) {
  if (c->numStats == 1) return OneState(c);
  State* s = Stats(c);
  // Two at a time: the state after an odd-sized list is still inside the list span.
  for (State* end = s + c->numStats; s < end; s += 2) {
    if (s[0].symbol == symbol) return s;
    if (s[1].symbol == symbol) {
      if (s + 1 == end) break;
      return s + 1;
    }
  }
  ThrowDamaged("PPMd model damaged");
}

PpmdModel::Context* PpmdModel::CreateSuccessors(bool skip) {
  Context* c = minContext_;
  uint32_t upBranch = Successor(foundState_);
  uint8_t symbol = foundState_->symbol;
  State* ps[kMaxOrder];
  unsigned numPs = 0;
  if (!skip) ps[numPs++] = foundState_;
  while (c->suffix) {
    c = ContextAt(c->suffix);
    State* s = FindSymbol(c, symbol);
    uint32_t successor = Successor(s);
    if (successor != upBranch) {
      c = ContextAt(successor);
      if (numPs == 0) return c;
      break;
    }
    if (numPs == kMaxOrder) ThrowDamaged("PPMd model damaged");
    ps[numPs++] = s;
  }

  State up;
  up.symbol = *heap_.At<uint8_t>(upBranch);
  SetSuccessor(&up, upBranch + 1);
  if (c->numStats == 1) {
    up.freq = OneState(c)->freq;
  } else {
    State* s = FindSymbol(c, up.symbol);
    uint32_t cf = s->freq - 1u;
    uint32_t s0 = c->summFreq - c->numStats - cf;
    if (2 * cf > s0 && s0 == 0) ThrowDamaged("PPMd model damaged");
    up.freq = uint8_t(1 + (2 * cf <= s0 ? (5 * cf > s0) : (2 * cf + 3 * s0 - 1) / (2 * s0)));
  }

  do {
    auto* c1 = static_cast<Context*>(heap_.AllocContext());
    if (!c1) return nullptr;
    c1->numStats = 1;
    *OneState(c1) = up;
    c1->suffix = heap_.Ref(c);
    SetSuccessor(ps[--numPs], heap_.Ref(c1));
    c = c1;
  } while (numPs != 0);
  return c;
}

void PpmdModel::UpdateModel() {
  uint32_t fSuccessor = Successor(foundState_);
  uint8_t fSymbol = foundState_->symbol;
  unsigned fFreq = foundState_->freq;

  if (fFreq < kMaxFreq / 4 && minContext_->suffix != 0) {
    Context* c = ContextAt(minContext_->suffix);
    if (c->numStats == 1) {
      State* s = OneState(c);
      if (s->freq < 32) ++s->freq;
    } else {
      State* stats = Stats(c);
      State* s = FindSymbol(c, fSymbol);
      if (s != stats && s[0].freq >= s[-1].freq) {
        std::swap(s[0], s[-1]);
        --s;
      }
      if (s->freq < kMaxFreq - 9) {
        s->freq += 2;
        c->summFreq += 2;
      }
    }
  }

  if (orderFall_ == 0) {
    minContext_ = maxContext_ = CreateSuccessors(true);
    if (!minContext_) return Restart();
    SetSuccessor(foundState_, heap_.Ref(minContext_));
    return;
  }

  if (!heap_.PushText(fSymbol)) return Restart();
  uint32_t successor = heap_.Text();

  if (fSuccessor) {
    if (fSuccessor < heap_.UnitsStart()) {
      Context* cs = CreateSuccessors(false);
      if (!cs) return Restart();
      fSuccessor = heap_.Ref(cs);
    }
    if (--orderFall_ == 0) {
      successor = fSuccessor;
      if (maxContext_ != minContext_) heap_.PopText();
    }
  } else {
    SetSuccessor(foundState_, successor);
    fSuccessor = heap_.Ref(minContext_);
  }

  unsigned ns = minContext_->numStats;
  uint32_t s0 = minContext_->summFreq - ns - (fFreq - 1);
  unsigned chain = 0;
  for (Context* c = maxContext_; c != minContext_; c = ContextAt(c->suffix)) {
    if (++chain > kMaxChain) ThrowDamaged("PPMd model damaged");
    unsigned ns1 = c->numStats;
    if (ns1 != 1) {
      if ((ns1 & 1) == 0) {
        // The list fills its units: move it to a block one unit larger.
        unsigned oldUnits = ns1 >> 1;
        unsigned i = heap_.UnitsToIndex(oldUnits);
        if (i != heap_.UnitsToIndex(oldUnits + 1)) {
          void* block = heap_.AllocUnits(i + 1);
          if (!block) return Restart();
          State* old = Stats(c);
          std::memcpy(block, old, oldUnits * PpmdHeap::kUnitSize);
          heap_.Free(old, i);
          c->stats = heap_.Ref(block);
        }
      }
      c->summFreq = uint16_t(c->summFreq + (2 * ns1 < ns) + 2 * ((4 * ns1 <= ns) & (c->summFreq <= 8 * ns1)));
    } else {
      auto* s = static_cast<State*>(heap_.AllocUnits(0));
      if (!s) return Restart();
      *s = *OneState(c);
      c->stats = heap_.Ref(s);
      s->freq = s->freq < kMaxFreq / 4 - 1 ? uint8_t(s->freq * 2) : uint8_t(kMaxFreq - 4);
      c->summFreq = uint16_t(s->freq + initEsc_ + (ns > 3));
    }
    uint32_t cf = 2 * fFreq * (c->summFreq + 6u);
    uint32_t sf = s0 + c->summFreq;
    if (cf < 6 * sf) {
      cf = 1 + (cf > sf) + (cf >= 4 * sf);
      c->summFreq = uint16_t(c->summFreq + 3);
    } else {
      cf = 4 + (cf >= 9 * sf) + (cf >= 12 * sf) + (cf >= 15 * sf);
      c->summFreq = uint16_t(c->summFreq + cf);
    }
    State* s = Stats(c) + ns1;
    SetSuccessor(s, successor);
    s->symbol = fSymbol;
    s->freq = uint8_t(cf);
    c->numStats = uint16_t(ns1 + 1);
  }
  maxContext_ = minContext_ = ContextAt(fSuccessor);
}

void PpmdModel::NextContext() {
  uint32_t successor = Successor(foundState_);
  if (orderFall_ == 0 && successor > heap_.Text())
    minContext_ = maxContext_ = ContextAt(successor);
  else
    UpdateModel();
}

// Halves the counts once one passes the limit, keeping the list sorted by count and
// dropping states that reach zero.
void PpmdModel::Rescale() {
  Context* mc = minContext_;
  State* stats = Stats(mc);
  State* s = foundState_;
  unsigned numStats = mc->numStats;
  if (numStats < 2) ThrowDamaged("PPMd model damaged");
  if (s != stats) {
    State tmp = *s;
    do s[0] = s[-1];
    while (--s != stats);
    *s = tmp;
  }
  unsigned escFreq = mc->summFreq - s->freq;
  s->freq += 4;
  unsigned adder = orderFall_ != 0;
  s->freq = uint8_t((s->freq + adder) >> 1);
  unsigned sumFreq = s->freq;

  unsigned i = numStats - 1;
  do {
    escFreq -= (++s)->freq;
    s->freq = uint8_t((s->freq + adder) >> 1);
    sumFreq += s->freq;
    if (s[0].freq > s[-1].freq) {
      State* s1 = s;
      State tmp = *s1;
      do s1[0] = s1[-1];
      while (--s1 != stats && tmp.freq > s1[-1].freq);
      *s1 = tmp;
    }
  } while (--i);

  if (s->freq == 0) {
    do ++i;
    while ((--s)->freq == 0);
    escFreq += i;
    mc->numStats = uint16_t(numStats - i);
    if (mc->numStats == 1) {
      State tmp = *stats;
      do {
        tmp.freq = uint8_t(tmp.freq - (tmp.freq >> 1));
        escFreq >>= 1;
      } while (escFreq > 1);
      heap_.Free(stats, heap_.UnitsToIndex((numStats + 1) >> 1));
      *(foundState_ = OneState(mc)) = tmp;
      return;
    }
    unsigned n0 = (numStats + 1) >> 1, n1 = (mc->numStats + 1u) >> 1;
    if (n0 != n1) mc->stats = heap_.Ref(heap_.ShrinkUnits(stats, n0, n1));
  }
  mc->summFreq = uint16_t(sumFreq + escFreq - (escFreq >> 1));
  foundState_ = Stats(mc);
}

PpmdModel::See* PpmdModel::MakeEscapeFrequency(unsigned numMasked, uint32_t& escFreq) {
  Context* mc = minContext_;
  unsigned numStats = mc->numStats;
  if (numStats == 256) {
    escFreq = 1;
    return &dummySee_;
  }
  unsigned nonMasked = numStats - numMasked;
  See* see = see_[ns2Index_[(nonMasked - 1) & 255]] +
             (nonMasked < unsigned(ContextAt(mc->suffix)->numStats) - numStats) +
             2 * unsigned(mc->summFreq < 11 * numStats) + 4 * unsigned(numMasked > nonMasked) + hiBitsFlag_;
  unsigned r = see->summ >> see->shift;
  see->summ = uint16_t(see->summ - r);
  escFreq = r + (r == 0);
  return see;
}

uint16_t* PpmdModel::BinaryProbability() {
  State* s = OneState(minContext_);
  hiBitsFlag_ = hiBits2Flag_[foundState_->symbol];
  unsigned suffixStats = ContextAt(minContext_->suffix)->numStats;
  return &binSumm_[(s->freq - 1u) & 127][prevSuccess_ + ns2BinIndex_[(suffixStats - 1) & 255] + hiBitsFlag_ +
                                         2 * hiBits2Flag_[s->symbol] + ((runLength_ >> 26) & 0x20)];
}

void PpmdModel::UpdateFirst() {
  prevSuccess_ = 2u * foundState_->freq > minContext_->summFreq;
  runLength_ += prevSuccess_;
  minContext_->summFreq += 4;
  if ((foundState_->freq += 4) > kMaxFreq) Rescale();
  NextContext();
}

void PpmdModel::UpdateOther() {
  State* s = foundState_;
  s->freq += 4;
  minContext_->summFreq += 4;
  if (s[0].freq > s[-1].freq) {
    std::swap(s[0], s[-1]);
    foundState_ = --s;
    if (s->freq > kMaxFreq) Rescale();
  }
  NextContext();
}

void PpmdModel::UpdateAfterEscape() {
  foundState_->freq += 4;
  minContext_->summFreq += 4;
  if (foundState_->freq > kMaxFreq) Rescale();
  runLength_ = initRunLength_;
  UpdateModel();
}

void PpmdModel::UpdateBinary() {
  foundState_->freq = uint8_t(foundState_->freq + (foundState_->freq < 128));
  prevSuccess_ = 1;
  ++runLength_;
  NextContext();
}

int PpmdModel::DecodeSymbol(PpmdRangeDecoder& rc) {
  uint8_t charMask[256];  // 0xFF: may still come; 0: excluded by a higher order
  if (minContext_->numStats != 1) {
    unsigned numStats = minContext_->numStats;
    State* s = Stats(minContext_);
    uint32_t summFreq = minContext_->summFreq;
    rc.Scale(summFreq);
    // Adds up the states' counts until the threshold falls below the sum.
    uint32_t hiCnt = s->freq;
    if (rc.Below(hiCnt)) {
      rc.Decode(0, s->freq);
      foundState_ = s;
      uint8_t symbol = s->symbol;
      UpdateFirst();
      return symbol;
    }
    prevSuccess_ = 0;
    for (unsigned i = numStats - 1; i != 0; --i) {
      hiCnt += (++s)->freq;
      if (rc.Below(hiCnt)) {
        rc.Decode(hiCnt - s->freq, s->freq);
        foundState_ = s;
        uint8_t symbol = s->symbol;
        UpdateOther();
        return symbol;
      }
    }
    if (!rc.Below(summFreq)) return -2;
    hiBitsFlag_ = hiBits2Flag_[foundState_->symbol];
    rc.Decode(hiCnt, summFreq - hiCnt);
    std::memset(charMask, 0xFF, sizeof(charMask));
    for (State* t = Stats(minContext_); t <= s; ++t) charMask[t->symbol] = 0;
  } else {
    uint16_t* prob = BinaryProbability();
    if (rc.DecodeBit(*prob) == 0) {
      *prob = uint16_t(*prob + (1 << kIntBits) - Mean(*prob));
      foundState_ = OneState(minContext_);
      uint8_t symbol = foundState_->symbol;
      UpdateBinary();
      return symbol;
    }
    *prob = uint16_t(*prob - Mean(*prob));
    initEsc_ = kExpEscape[*prob >> 10];
    std::memset(charMask, 0xFF, sizeof(charMask));
    charMask[OneState(minContext_)->symbol] = 0;
    prevSuccess_ = 0;
  }

  for (unsigned chain = 0;;) {
    unsigned numMasked = minContext_->numStats;
    do {
      ++orderFall_;
      if (!minContext_->suffix) return -1;
      if (++chain > kMaxChain) return -2;
      minContext_ = ContextAt(minContext_->suffix);
    } while (minContext_->numStats == numMasked);

    unsigned numStats = minContext_->numStats;
    if (numStats < numMasked) return -2;
    State* stats = Stats(minContext_);
    State* end = stats + numStats;
    // The masked states add nothing; numStats > numMasked >= 1, so there are two or more.
    State* s = stats;
    uint32_t hiCnt = 0;
    if (numStats & 1) hiCnt = s++->freq & charMask[stats->symbol];
    for (; s != end; s += 2) hiCnt += (s[0].freq & charMask[s[0].symbol]) + (s[1].freq & charMask[s[1].symbol]);

    uint32_t freqSum;
    See* see = MakeEscapeFrequency(numMasked, freqSum);
    freqSum += hiCnt;
    rc.Scale(freqSum);
    if (rc.Below(hiCnt)) {
      // Stops inside the list: its unmasked counts add up to more than the threshold.
      s = stats;
      for (hiCnt = 0; !rc.Below(hiCnt += s->freq & charMask[s->symbol]); ++s) {
      }
      rc.Decode(hiCnt - s->freq, s->freq);
      see->Update();
      foundState_ = s;
      uint8_t symbol = s->symbol;
      UpdateAfterEscape();
      return symbol;
    }
    if (!rc.Below(freqSum)) return -2;
    rc.Decode(hiCnt, freqSum - hiCnt);
    see->summ = uint16_t(see->summ + freqSum);
    for (s = stats; s != end; ++s) charMask[s->symbol] = 0;
  }
}

}  // namespace sevenzip
