#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "LongPath.h"
#include "platform/File.h"

namespace sevenzip {

// Random-access archive bytes: a file on disk or a buffer in memory.
class InStream {
 public:
  virtual ~InStream() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to size bytes at offset; returns how many were read (0 past the end). Called
  // from several threads at once when an LZMA2 stream is decoded in parallel.
  virtual size_t ReadAt(uint64_t offset, uint8_t* dest, size_t size) = 0;
};

class MemoryInStream : public InStream {
 public:
  MemoryInStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* dest, size_t size) override {
    if (offset >= size_) return 0;
    size_t n = size < size_ - offset ? size : size_t(size_ - offset);
    std::memcpy(dest, data_ + offset, n);
    return n;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

class InFile : public InStream {
 public:
  // Full sharing: a caller may hold the archive open for writing so that nobody else writes it.
  bool Open(const std::string& path) {
    if (!file_.OpenRead(SystemPath(path), FileSharing::Everyone) || file_.Size() < 0) return false;
    size_ = uint64_t(file_.Size());
    return true;
  }
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* dest, size_t size) override { return file_.ReadAt(offset, dest, size); }

 private:
  File file_;
  uint64_t size_ = 0;
};

}  // namespace sevenzip
