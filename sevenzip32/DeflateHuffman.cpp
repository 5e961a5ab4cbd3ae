#include "DeflateHuffman.h"

#include <algorithm>
#include <iterator>

#include "ArchiveError.h"

namespace sevenzip {
namespace {

uint32_t Reversed(uint32_t code, unsigned length) {
  uint32_t r = 0;
  for (unsigned i = 0; i < length; ++i, code >>= 1) r = (r << 1) | (code & 1);
  return r;
}

}  // namespace

void DeflateHuffman::Build(std::span<const uint8_t> lengths, bool allowSingle) {
  unsigned count[kMaxBits + 1] = {};
  for (uint8_t len : lengths) {
    if (len > kMaxBits) ThrowDamaged("Huffman code length");
    ++count[len];
  }
  count[0] = 0;
  int left = 1;
  unsigned used = 0;
  for (unsigned len = 1; len <= kMaxBits; ++len) {
    left = (left << 1) - int(count[len]);
    if (left < 0) ThrowDamaged("over-subscribed Huffman code");
    used += count[len];
  }
  bool empty = used == 0;
  bool single = used == 1 && count[1] == 1;
  if (left > 0 && !empty && !(allowSingle && single)) ThrowDamaged("incomplete Huffman code");

  uint32_t next[kMaxBits + 2] = {};
  for (unsigned len = 1; len <= kMaxBits; ++len) next[len + 1] = (next[len] + count[len]) << 1;

  // Second-level sizes: the longest code behind each first-level prefix.
  const uint32_t firstMask = (1u << kFirstBits) - 1;
  std::vector<uint8_t> subBits(1u << kFirstBits, 0);
  uint32_t codes[kMaxBits + 2];
  std::copy(std::begin(next), std::end(next), codes);
  for (uint8_t len : lengths) {
    if (len == 0) continue;
    uint32_t rev = Reversed(codes[len]++, len);
    if (len > kFirstBits && subBits[rev & firstMask] < len - kFirstBits)
      subBits[rev & firstMask] = uint8_t(len - kFirstBits);
  }

  table_.assign(1u << kFirstBits, 0);
  for (uint32_t prefix = 0; prefix <= firstMask; ++prefix) {
    if (subBits[prefix] == 0) continue;
    table_[prefix] = kLink | uint32_t(subBits[prefix]) << 16 | uint32_t(table_.size());
    table_.resize(table_.size() + (size_t(1) << subBits[prefix]), 0);
  }

  for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    unsigned len = lengths[symbol];
    if (len == 0) continue;
    uint32_t rev = Reversed(next[len]++, len);
    uint32_t entry = uint32_t(len) << 16 | uint32_t(symbol);
    if (len <= kFirstBits) {
      for (uint32_t i = rev; i <= firstMask; i += 1u << len) table_[i] = entry;
    } else {
      uint32_t link = table_[rev & firstMask];
      uint32_t base = link & 0xFFFF, bits = (link >> 16) & 0xF;
      for (uint32_t i = rev >> kFirstBits; i < (1u << bits); i += 1u << (len - kFirstBits)) table_[base + i] = entry;
    }
  }
}

}  // namespace sevenzip
