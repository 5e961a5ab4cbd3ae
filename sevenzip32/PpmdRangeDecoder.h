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

  // The cumulative count the next symbol falls at, scaled to total (below 2^17 here).
  uint32_t Threshold(uint32_t total) { return code_ / (range_ /= total); }

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
