#pragma once
#include <cstdint>

#include "FilterSource.h"

namespace sevenzip {

// Delta: each byte was stored as its difference to the byte `distance` places before it.
class DeltaFilter : public BufferFilter {
 public:
  explicit DeltaFilter(unsigned distance) : distance_(distance) {}  // 1 to 256
  size_t Convert(uint8_t* data, size_t size) override;

 private:
  unsigned distance_;
  uint8_t history_[256] = {};  // the last distance_ bytes, oldest first
};

// Swap2/Swap4: the byte order of every 2- or 4-byte unit reversed.
class SwapFilter : public BufferFilter {
 public:
  explicit SwapFilter(unsigned width) : width_(width) {}  // 2 or 4
  size_t Convert(uint8_t* data, size_t size) override;

 private:
  unsigned width_;
};

}  // namespace sevenzip
