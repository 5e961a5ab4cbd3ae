#pragma once
#include <cstddef>
#include <cstdint>

namespace sevenzip {

// CRC-32 (IEEE 802.3, reflected), as 7z stores it. Pass the previous result to continue.
uint32_t UpdateCrc32(uint32_t crc, const void* data, size_t size);
inline uint32_t Crc32(const void* data, size_t size) { return UpdateCrc32(0, data, size); }

}  // namespace sevenzip
