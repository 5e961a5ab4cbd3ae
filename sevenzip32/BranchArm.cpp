#include "BranchFilters.h"

#include "ByteOrder.h"

namespace sevenzip {

// BL: 24-bit word offset in the low bytes of a word whose top byte is EB; the processor
// counts from two words ahead.
size_t ArmDecode(uint8_t* data, size_t size, uint32_t position) {
  size &= ~size_t(3);
  for (size_t i = 0; i < size; i += 4) {
    if (data[i + 3] != 0xEB) continue;
    uint32_t src = (uint32_t(data[i + 2]) << 16 | uint32_t(data[i + 1]) << 8 | data[i]) << 2;
    uint32_t dest = (src - (position + uint32_t(i) + 8)) >> 2;
    data[i + 2] = uint8_t(dest >> 16);
    data[i + 1] = uint8_t(dest >> 8);
    data[i] = uint8_t(dest);
  }
  return size;
}

// Thumb BL: a pair of half-words F000+hi, F800+lo holding a 22-bit half-word offset.
size_t ArmThumbDecode(uint8_t* data, size_t size, uint32_t position) {
  size_t i = 0;
  for (; i + 4 <= size; i += 2) {
    if ((data[i + 1] & 0xF8) != 0xF0 || (data[i + 3] & 0xF8) != 0xF8) continue;
    uint32_t src =
        (uint32_t(data[i + 1] & 7) << 19 | uint32_t(data[i]) << 11 | uint32_t(data[i + 3] & 7) << 8 | data[i + 2]) << 1;
    uint32_t dest = (src - (position + uint32_t(i) + 4)) >> 1;
    data[i + 1] = uint8_t(0xF0 | ((dest >> 19) & 7));
    data[i] = uint8_t(dest >> 11);
    data[i + 3] = uint8_t(0xF8 | ((dest >> 8) & 7));
    data[i + 2] = uint8_t(dest);
    i += 2;
  }
  return i;
}

// BL (26-bit word offset) and ADRP (21-bit page offset, converted only within +-512 MiB
// so that data that merely looks like ADRP stays as it is more often).
size_t Arm64Decode(uint8_t* data, size_t size, uint32_t position) {
  size &= ~size_t(3);
  for (size_t i = 0; i < size; i += 4) {
    uint32_t instr = LoadLe32(data + i);
    uint32_t pc = position + uint32_t(i);
    if ((instr >> 26) == 0x25) {
      StoreLe32(data + i, 0x94000000 | ((instr - (pc >> 2)) & 0x03FFFFFF));
    } else if ((instr & 0x9F000000) == 0x90000000) {
      uint32_t src = ((instr >> 29) & 3) | ((instr >> 3) & 0x001FFFFC);
      if (((src + 0x00020000) & 0x001C0000) != 0) continue;
      src -= pc >> 12;
      instr &= 0x9000001F;
      instr |= (src & 3) << 29;
      instr |= (src & 0x0003FFFC) << 3;
      instr |= (0u - (src & 0x00020000)) & 0x00E00000;
      StoreLe32(data + i, instr);
    }
  }
  return size;
}

}  // namespace sevenzip
