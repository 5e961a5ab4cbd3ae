#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace sevenzip {

// A fixed-size byte buffer that is not zeroed when allocated: windows and I/O buffers are
// only read where they were written, and zeroing a window the stream may never fill costs
// time and touches every page of it.
class ByteBuffer {
 public:
  explicit ByteBuffer(size_t size = 0) : bytes_(std::make_unique_for_overwrite<uint8_t[]>(size)), size_(size) {}
  uint8_t* data() { return bytes_.get(); }
  size_t size() const { return size_; }
  uint8_t& operator[](size_t i) { return bytes_[i]; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_;
};

}  // namespace sevenzip
