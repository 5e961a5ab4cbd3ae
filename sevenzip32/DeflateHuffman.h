#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace sevenzip {

// Decoding table of one canonical Huffman code as Deflate stores it (codes packed from the
// low bit up): a 10-bit first level, longer codes through second-level tables.
class DeflateHuffman {
 public:
  static constexpr unsigned kMaxBits = 15;
  static constexpr unsigned kFirstBits = 10;

  // Throws for an over-subscribed code, and for an incomplete one unless allowSingle and it
  // holds a single one-bit code (Deflate's way of sending one distance). All-zero lengths
  // make an empty code, any use of which is damage.
  void Build(std::span<const uint8_t> lengths, bool allowSingle);

  // Entry for the next bits of the stream (at least kMaxBits of them, low bit first):
  // symbol in the low 16 bits, code length above; 0 for a code that does not exist.
  uint32_t Lookup(uint64_t bits) const {
    uint32_t e = table_[bits & ((1u << kFirstBits) - 1)];
    if (e & kLink) e = table_[(e & 0xFFFF) + ((bits >> kFirstBits) & ((1u << ((e >> 16) & 0xF)) - 1))];
    return e;
  }

 private:
  static constexpr uint32_t kLink = 1u << 31;
  std::vector<uint32_t> table_ = std::vector<uint32_t>(1u << kFirstBits, 0);
};

}  // namespace sevenzip
