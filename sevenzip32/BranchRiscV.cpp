#include "BranchFilters.h"

#include "ByteOrder.h"

namespace sevenzip {

// JAL with rd = x1 or x5, and AUIPC paired with the instruction after it that uses its
// register. The encoder stores their targets absolute and big-endian; pairs that merely
// look alike are swapped into a form the decoder recognises and swaps back.
size_t RiscVDecode(uint8_t* data, size_t size, uint32_t position) {
  if (size < 8) return 0;
  const size_t last = size - 8;
  size_t i = 0;
  for (; i <= last; i += 2) {
    uint32_t b0 = data[i];
    if (b0 == 0xEF) {
      uint32_t b1 = data[i + 1];
      if ((b1 & 0x0D) != 0) continue;
      uint32_t b2 = data[i + 2], b3 = data[i + 3];
      uint32_t addr = ((b1 & 0xF0) << 13 | b2 << 9 | b3 << 1) - (position + uint32_t(i));
      data[i + 1] = uint8_t((b1 & 0x0F) | ((addr >> 8) & 0xF0));
      data[i + 2] = uint8_t(((addr >> 16) & 0x0F) | ((addr >> 7) & 0x10) | ((addr << 4) & 0xE0));
      data[i + 3] = uint8_t(((addr >> 4) & 0x7F) | ((addr >> 13) & 0x80));
      i += 4 - 2;
      continue;
    }
    if ((b0 & 0x7F) != 0x17) continue;

    uint32_t inst = LoadLe32(data + i);
    uint32_t inst2;
    if ((inst & 0xE80) != 0) {
      // rd is neither x0 nor x2: a look-alike pair the encoder swapped, or plain code.
      inst2 = LoadLe32(data + i + 4);
      if ((((inst << 8) ^ (inst2 - 3)) & 0xF8003) != 0) {
        i += 6 - 2;
        continue;
      }
      uint32_t addr = (inst & 0xFFFFF000) + (inst2 >> 20);
      inst = 0x17 | (2 << 7) | (inst2 << 12);
      inst2 = addr;
    } else {
      // rd is x0 or x2: a converted pair carries the other register here.
      uint32_t reg = inst >> 27;
      if (uint32_t((inst - 0x3117) << 18) >= (reg & 0x1D)) {
        i += 4 - 2;
        continue;
      }
      uint32_t addr = LoadBe32(data + i + 4) - (position + uint32_t(i));
      inst2 = (inst >> 12) | (addr << 20);
      inst = 0x17 | (reg << 7) | ((addr + 0x800) & 0xFFFFF000);
    }
    StoreLe32(data + i, inst);
    StoreLe32(data + i + 4, inst2);
    i += 8 - 2;
  }
  return i;
}

}  // namespace sevenzip
