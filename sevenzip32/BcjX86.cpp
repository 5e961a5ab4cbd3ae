#include "BcjX86.h"

namespace sevenzip {
namespace {

// An address is converted only when its top byte looks like a near one: 0x00 or 0xFF.
bool IsNearTopByte(uint8_t b) { return b == 0 || b == 0xFF; }

constexpr bool kMaskAllowsConversion[8] = {true, true, true, false, true, false, false, false};
constexpr unsigned kMaskToBitNumber[8] = {0, 1, 2, 2, 3, 3, 3, 3};

}  // namespace

size_t BcjX86Decode(uint8_t* data, size_t size, BcjX86State& state) {
  if (size < 5) return 0;
  const uint32_t ip = state.position + 5;
  uint32_t mask = state.prevMask & 7;
  size_t pos = 0;
  size_t prevPos = size_t(0) - 1;  // position of the last opcode seen; "long ago" at first
  const size_t limit = size - 4;

  for (;;) {
    while (pos < limit && (data[pos] & 0xFE) != 0xE8) ++pos;
    if (pos >= limit) break;

    size_t distance = pos - prevPos;
    if (distance > 3) {
      mask = 0;
    } else {
      mask = (mask << (distance - 1)) & 7;
      if (mask != 0) {
        uint8_t b = data[pos + 4 - kMaskToBitNumber[mask]];
        if (!kMaskAllowsConversion[mask] || IsNearTopByte(b)) {
          prevPos = pos;
          mask = ((mask << 1) & 7) | 1;
          ++pos;
          continue;
        }
      }
    }
    prevPos = pos;

    uint8_t* p = data + pos;
    if (!IsNearTopByte(p[4])) {
      mask = ((mask << 1) & 7) | 1;
      ++pos;
      continue;
    }
    uint32_t src = uint32_t(p[4]) << 24 | uint32_t(p[3]) << 16 | uint32_t(p[2]) << 8 | p[1];
    uint32_t dest;
    for (;;) {
      dest = src - (ip + uint32_t(pos));
      if (mask == 0) break;
      unsigned shift = kMaskToBitNumber[mask] * 8;
      if (!IsNearTopByte(uint8_t(dest >> (24 - shift)))) break;
      src = dest ^ ((1u << (32 - shift)) - 1);
    }
    p[4] = uint8_t(~(((dest >> 24) & 1) - 1));
    p[3] = uint8_t(dest >> 16);
    p[2] = uint8_t(dest >> 8);
    p[1] = uint8_t(dest);
    pos += 5;
  }

  size_t sinceOpcode = pos - prevPos;
  state.prevMask = sinceOpcode > 3 ? 0 : (mask << (sinceOpcode - 1)) & 7;
  state.position += uint32_t(pos);
  return pos;
}

}  // namespace sevenzip
