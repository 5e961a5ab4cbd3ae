#pragma once
#include <cstdint>
#include <vector>

#include "ByteSource.h"

namespace sevenzip {

// The range decoder 7z pairs with PPMd: 32-bit range and code, a byte shifted in whenever the
// range falls below 2^24. Inline, since it runs several times per decoded byte.
class PpmdRangeDecoder {
 public:
  explicit PpmdRangeDecoder(ByteSource& input);

  // Reads the five leading bytes; the first is always zero.
  void Init();

  // Scales the range to a total of counts (below 2^17 here); then Below(c) tells whether the
  // next symbol's cumulative count is below c. The search through the counts mostly stops at
  // the first ones: a product per step costs less than dividing the code by the scale.
  void Scale(uint32_t total) { range_ /= total; }
  bool Below(uint32_t cumulative) const { return code_ < uint64_t(cumulative) * range_; }

  void Decode(uint32_t start, uint32_t size) {
    code_ -= start * range_;
    range_ *= size;
    Normalize();
  }

  // One bit whose zero has probability size0 / 2^14.
  unsigned DecodeBit(uint32_t size0) {
    uint32_t bound = (range_ >> 14) * size0;
    unsigned bit;
    if (code_ < bound) {
      range_ = bound;
      bit = 0;
    } else {
      code_ -= bound;
      range_ -= bound;
      bit = 1;
    }
    Normalize();
    return bit;
  }

 private:
  static constexpr uint32_t kTop = 1u << 24;

  void Normalize() {
    while (range_ < kTop) {
      code_ = code_ << 8 | NextByte();
      range_ <<= 8;
    }
  }
  uint8_t NextByte() {
    if (pos_ == end_) Refill();
    return *pos_++;
  }
  void Refill();

  ByteSource& input_;
  std::vector<uint8_t> buffer_;
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint32_t range_ = 0xFFFFFFFF;
  uint32_t code_ = 0;
};

}  // namespace sevenzip
