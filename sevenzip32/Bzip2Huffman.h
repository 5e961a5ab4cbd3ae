#pragma once
#include <cstdint>

#include "Bzip2BitReader.h"

namespace sevenzip {

// One of a bzip2 block's canonical Huffman codes (up to 258 symbols, lengths 1..20):
// codes of up to kFastBits bits by one table look-up, longer ones by their length limits.
class Bzip2Huffman {
 public:
  static constexpr unsigned kMaxSymbols = 258;
  static constexpr unsigned kMaxLength = 20;

  // Lengths must be 1..20 and must not over-fill the code space; else the block is damaged.
  void Build(const uint8_t* lengths, unsigned symbolCount);

  unsigned Decode(Bzip2BitReader& bits) const {
    uint32_t v = bits.Peek(kMaxLength);
    uint16_t e = fast_[v >> (kMaxLength - kFastBits)];
    if (e != 0) {
      bits.Skip(e & 31);
      return e >> 5;
    }
    return DecodeLong(bits, v);
  }

 private:
  static constexpr unsigned kFastBits = 10;

  unsigned DecodeLong(Bzip2BitReader& bits, uint32_t v) const;

  uint16_t fast_[1 << kFastBits];   // symbol << 5 | length; 0 for longer codes
  uint32_t limit_[kMaxLength + 2];  // first 20-bit value past the codes of each length
  uint32_t firstCode_[kMaxLength + 1];
  uint16_t firstIndex_[kMaxLength + 1];
  uint16_t sorted_[kMaxSymbols];  // symbols by code
};

}  // namespace sevenzip
