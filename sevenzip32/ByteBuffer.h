#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

namespace sevenzip {

// A fixed-size byte buffer that is not zeroed when allocated: windows, tables and I/O buffers
// are only read where they were written, and zeroing a window the stream may never fill costs
// time and touches every page of it. Where the system hands out 2 MiB pages on request
// (Linux), a buffer of 2 MiB or more asks for them: filled in 4 KiB pages, a 64 MiB window
// takes 16,384 page faults, and a table of several MiB read at random misses the processor's
// address cache on nearly every access. Throws std::bad_alloc when the memory cannot be had.
class ByteBuffer {
 public:
  explicit ByteBuffer(size_t size = 0);
  // A buffer moved from is empty, its size included.
  ByteBuffer(ByteBuffer&& other) noexcept : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}
  ByteBuffer& operator=(ByteBuffer&& other) noexcept {
    bytes_ = std::move(other.bytes_);
    size_ = std::exchange(other.size_, 0);
    return *this;
  }

  uint8_t* data() { return bytes_.get(); }
  const uint8_t* data() const { return bytes_.get(); }
  size_t size() const { return size_; }
  uint8_t& operator[](size_t i) { return bytes_[i]; }

 private:
  struct Free {
    void operator()(uint8_t* bytes) const { std::free(bytes); }
  };
  std::unique_ptr<uint8_t[], Free> bytes_;
  size_t size_;
};

}  // namespace sevenzip
