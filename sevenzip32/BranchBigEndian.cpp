#include "BranchFilters.h"

#include "ByteOrder.h"

namespace sevenzip {

// PowerPC "bl": opcode 18 with AA=0 and LK=1, a 24-bit word offset.
size_t PpcDecode(uint8_t* data, size_t size, uint32_t position) {
  size &= ~size_t(3);
  for (size_t i = 0; i < size; i += 4) {
    uint32_t instr = LoadBe32(data + i);
    if ((instr & 0xFC000003) != 0x48000001) continue;
    uint32_t dest = (instr & 0x03FFFFFC) - (position + uint32_t(i));
    StoreBe32(data + i, 0x48000001 | (dest & 0x03FFFFFC));
  }
  return size;
}

// SPARC "call" whose 30-bit word offset fits in 23 bits (top bits all 0 or all 1).
size_t SparcDecode(uint8_t* data, size_t size, uint32_t position) {
  size &= ~size_t(3);
  for (size_t i = 0; i < size; i += 4) {
    bool nearCall =
        (data[i] == 0x40 && (data[i + 1] & 0xC0) == 0x00) || (data[i] == 0x7F && (data[i + 1] & 0xC0) == 0xC0);
    if (!nearCall) continue;
    uint32_t src = LoadBe32(data + i) << 2;
    uint32_t dest = (src - (position + uint32_t(i))) >> 2;
    dest = (((0u - ((dest >> 22) & 1)) << 22) & 0x3FFFFFFF) | (dest & 0x3FFFFF) | 0x40000000;
    StoreBe32(data + i, dest);
  }
  return size;
}

}  // namespace sevenzip
