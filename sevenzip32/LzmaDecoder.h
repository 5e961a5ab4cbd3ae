#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sevenzip {

// The window an LZMA decoder writes into: a ring the decoder fills up to a limit the caller
// sets, and from which the caller copies the decoded bytes out.
struct LzmaWindow {
  uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;        // where the next byte goes
  uint32_t written = 0;  // bytes since the last reset (mod 2^32): the position contexts
  bool full = false;     // written has reached size once: a match may reach all of it

  void Reset() {
    written = 0;
    full = false;
  }
  void Advance(size_t n) {
    pos += n;
    written += uint32_t(n);
    if (written >= size) full = true;
  }
};

// The LZMA range decoder with its probabilities and state. The hot loop keeps everything in
// locals and checks its input once per symbol against a margin no symbol can exceed.
class LzmaDecoder {
 public:
  // No symbol, with the normalisations after each of its bits, reads more bytes than this.
  static constexpr size_t kMaxSymbolInput = 64;

  // lc <= 8, lp <= 4, pb <= 4; the caller checks the ranges.
  void SetProperties(unsigned lc, unsigned lp, unsigned pb);
  // Fresh probabilities, state and distances.
  void ResetState();
  // The range coder restarts on the next Decode, which then reads its five bytes first.
  void RestartRange() {
    needRangeStart_ = true;
    pending_ = 0;
  }

  // Decodes into w up to `limit` (w.pos <= limit <= w.size) from the `avail` bytes at `in`.
  // Unless `final`, it stops while kMaxSymbolInput bytes are left, for the caller to bring
  // more; when `final`, the input ends there and a symbol that reads past it is damage.
  // Returns the bytes of input used.
  size_t Decode(LzmaWindow& w, size_t limit, const uint8_t* in, size_t avail, bool final);

 private:
  template <bool kTail>
  const uint8_t* Run(LzmaWindow& w, size_t limit, const uint8_t* in, const uint8_t* end);
  void CopyPending(LzmaWindow& w, size_t limit);

  std::vector<uint16_t> probs_;
  unsigned lc_ = 3, lpMask_ = 0, pbMask_ = 3;
  uint32_t range_ = 0, code_ = 0;
  unsigned state_ = 0;
  uint32_t reps_[4] = {};
  uint32_t pending_ = 0;  // bytes of the last match not copied yet (limit reached)
  bool needRangeStart_ = true;
};

}  // namespace sevenzip
