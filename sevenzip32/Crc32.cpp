#include "Crc32.h"

#include <array>

namespace sevenzip {
namespace {

using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

// Eight tables so the loop takes eight bytes per step: CRC must not slow extraction down.
constexpr CrcTables MakeTables() {
  CrcTables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i;
    for (int k = 0; k < 8; ++k) r = (r >> 1) ^ (0xEDB88320u & (0u - (r & 1)));
    t[0][i] = r;
  }
  for (uint32_t i = 0; i < 256; ++i)
    for (int k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  return t;
}

constexpr CrcTables kTables = MakeTables();

}  // namespace

uint32_t UpdateCrc32(uint32_t crc, const void* data, size_t size) {
  auto p = static_cast<const uint8_t*>(data);
  uint32_t c = ~crc;
  for (; size >= 8; size -= 8, p += 8) {
    uint32_t lo = c ^ (p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
    uint32_t hi = p[4] | p[5] << 8 | p[6] << 16 | uint32_t(p[7]) << 24;
    c = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^ kTables[4][lo >> 24] ^
        kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^ kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
  }
  for (; size > 0; --size) c = kTables[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
  return ~c;
}

}  // namespace sevenzip
