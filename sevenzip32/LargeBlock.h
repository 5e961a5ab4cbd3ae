#pragma once
#include <cstddef>
#include <cstdint>

namespace sevenzip {

// Uninitialised memory for a decoder's large tables, which it reads at random. Where the system
// hands out 2 MiB pages on request (Linux), the block asks for them: a table of several MiB in
// 4 KiB pages misses the processor's address cache on nearly every access.
class LargeBlock {
 public:
  explicit LargeBlock(size_t size);
  ~LargeBlock();
  LargeBlock(const LargeBlock&) = delete;
  LargeBlock& operator=(const LargeBlock&) = delete;

  uint8_t* data() const { return bytes_; }

 private:
  uint8_t* bytes_;
};

}  // namespace sevenzip
