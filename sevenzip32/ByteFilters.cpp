#include "ByteFilters.h"

#include <cstring>
#include <utility>

namespace sevenzip {

size_t DeltaFilter::Convert(uint8_t* data, size_t size) {
  const size_t d = distance_;
  size_t head = size < d ? size : d;
  for (size_t i = 0; i < head; ++i) data[i] = uint8_t(data[i] + history_[i]);
  for (size_t i = d; i < size; ++i) data[i] = uint8_t(data[i] + data[i - d]);
  if (size >= d) {
    std::memcpy(history_, data + size - d, d);
  } else {
    std::memmove(history_, history_ + size, d - size);
    std::memcpy(history_ + d - size, data, size);
  }
  return size;
}

size_t SwapFilter::Convert(uint8_t* data, size_t size) {
  size -= size % width_;
  for (size_t i = 0; i < size; i += width_) {
    if (width_ == 2) {
      std::swap(data[i], data[i + 1]);
    } else {
      std::swap(data[i], data[i + 3]);
      std::swap(data[i + 1], data[i + 2]);
    }
  }
  return size;
}

}  // namespace sevenzip
