#include "Bzip2Huffman.h"

#include <cstring>

namespace sevenzip {

void Bzip2Huffman::Build(const uint8_t* lengths, unsigned symbolCount) {
  unsigned counts[kMaxLength + 1] = {};
  for (unsigned i = 0; i < symbolCount; ++i) {
    if (lengths[i] < 1 || lengths[i] > kMaxLength) ThrowDamaged("bzip2 code length");
    ++counts[lengths[i]];
  }
  uint32_t code = 0;
  unsigned index = 0;
  for (unsigned len = 1; len <= kMaxLength; ++len) {
    firstCode_[len] = code;
    firstIndex_[len] = uint16_t(index);
    code += counts[len];
    index += counts[len];
    // An over-full code would decode one bit pattern two ways.
    if (code > (1u << len)) ThrowDamaged("bzip2 Huffman code over-full");
    limit_[len] = code << (kMaxLength - len);
    code <<= 1;
  }
  limit_[kMaxLength + 1] = 0xFFFFFFFF;

  unsigned next[kMaxLength + 1];
  for (unsigned len = 1; len <= kMaxLength; ++len) next[len] = firstIndex_[len];
  for (unsigned i = 0; i < symbolCount; ++i) sorted_[next[lengths[i]]++] = uint16_t(i);

  std::memset(fast_, 0, sizeof(fast_));
  for (unsigned len = 1; len <= kFastBits; ++len)
    for (unsigned k = 0; k < counts[len]; ++k) {
      unsigned symbol = sorted_[firstIndex_[len] + k];
      uint32_t first = (firstCode_[len] + k) << (kFastBits - len);
      for (uint32_t j = 0; j < (1u << (kFastBits - len)); ++j) fast_[first + j] = uint16_t(symbol << 5 | len);
    }
}

unsigned Bzip2Huffman::DecodeLong(Bzip2BitReader& bits, uint32_t v) const {
  unsigned len = kFastBits + 1;
  while (v >= limit_[len]) ++len;
  if (len > kMaxLength) ThrowDamaged("bzip2 code not in the table");
  bits.Skip(len);
  return sorted_[firstIndex_[len] + (v >> (kMaxLength - len)) - firstCode_[len]];
}

}  // namespace sevenzip
