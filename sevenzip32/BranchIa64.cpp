#include "BranchFilters.h"

namespace sevenzip {
namespace {

// For each bundle template: which of its three 41-bit slots may hold a branch (B unit).
constexpr uint8_t kBranchSlots[32] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      4, 4, 6, 6, 0, 0, 7, 7, 4, 4, 0, 0, 4, 4, 0, 0};

}  // namespace

// IP-relative branches (opcode 5, btype 0) in 16-byte bundles: a 21-bit bundle offset.
size_t Ia64Decode(uint8_t* data, size_t size, uint32_t position) {
  size &= ~size_t(15);
  for (size_t i = 0; i < size; i += 16) {
    unsigned slots = kBranchSlots[data[i] & 0x1F];
    for (unsigned slot = 0, bitPos = 5; slot < 3; ++slot, bitPos += 41) {
      if (((slots >> slot) & 1) == 0) continue;
      uint8_t* p = data + i + bitPos / 8;
      unsigned shift = bitPos % 8;
      uint64_t raw = 0;
      for (int j = 0; j < 6; ++j) raw |= uint64_t(p[j]) << (8 * j);
      uint64_t instr = raw >> shift;
      if (((instr >> 37) & 0xF) != 0x5 || ((instr >> 9) & 0x7) != 0) continue;

      uint32_t src = uint32_t((instr >> 13) & 0xFFFFF) | uint32_t((instr >> 36) & 1) << 20;
      uint32_t dest = ((src << 4) - (position + uint32_t(i))) >> 4;
      instr &= ~(uint64_t(0x8FFFFF) << 13);
      instr |= uint64_t(dest & 0xFFFFF) << 13;
      instr |= uint64_t(dest & 0x100000) << (36 - 20);
      raw = (raw & ((uint64_t(1) << shift) - 1)) | instr << shift;
      for (int j = 0; j < 6; ++j) p[j] = uint8_t(raw >> (8 * j));
    }
  }
  return size;
}

}  // namespace sevenzip
