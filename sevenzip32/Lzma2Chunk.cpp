#include "Lzma2Chunk.h"

#include "ArchiveError.h"

namespace sevenzip {
namespace {

constexpr uint8_t kEndOfStream = 0x00;
constexpr uint8_t kStoredWithReset = 0x01;
constexpr uint8_t kStored = 0x02;
constexpr uint8_t kMaxDictionaryProperty = 40;

bool IsStored(uint8_t control) { return control == kStoredWithReset || control == kStored; }

}  // namespace

uint32_t Lzma2DictionarySize(const std::vector<uint8_t>& properties) {
  if (properties.size() != 1) ThrowUnsupported("LZMA2 properties size");
  uint8_t property = properties[0];
  if (property > kMaxDictionaryProperty) ThrowUnsupported("LZMA2 dictionary size");
  if (property == kMaxDictionaryProperty) return 0xFFFFFFFF;
  return (2u | (property & 1)) << (property / 2 + 11);
}

size_t Lzma2HeaderSize(uint8_t control) {
  if (control == kEndOfStream) return 1;
  if (IsStored(control)) return 3;
  if (control < 0x80) ThrowDamaged("bad LZMA2 chunk");
  return (control >> 5 & 3) >= 2 ? 6 : 5;
}

Lzma2Chunk ParseLzma2Chunk(const uint8_t* header) {
  Lzma2Chunk chunk;
  const uint8_t control = header[0];
  if (control == kEndOfStream) {
    chunk.end = true;
    return chunk;
  }
  chunk.stored = IsStored(control);
  uint32_t high = chunk.stored ? 0 : uint32_t(control & 0x1F) << 16;
  chunk.unpackSize = (high | uint32_t(header[1]) << 8 | header[2]) + 1;
  if (chunk.stored) {
    chunk.reset = control == kStoredWithReset ? 3 : 0;
    chunk.packSize = chunk.unpackSize;
    return chunk;
  }
  chunk.reset = control >> 5 & 3;
  chunk.packSize = (uint32_t(header[3]) << 8 | header[4]) + 1;
  if (chunk.BringsProperties()) {
    uint8_t lclppb = header[5];
    if (lclppb >= 9 * 5 * 5 || lclppb % 9 + lclppb / 9 % 5 > 4) ThrowDamaged("bad LZMA2 properties");
    chunk.properties = lclppb;
  }
  return chunk;
}

}  // namespace sevenzip
