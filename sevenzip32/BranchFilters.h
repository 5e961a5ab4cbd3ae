#pragma once
#include <cstddef>
#include <cstdint>

#include "FilterSource.h"

namespace sevenzip {

// Branch converters of the processors 7z knows besides x86: each turns the absolute
// addresses the encoder wrote back into relative ones. position is the address of data[0];
// each returns how many leading bytes are final (see BufferFilter::Convert).
size_t ArmDecode(uint8_t* data, size_t size, uint32_t position);
size_t ArmThumbDecode(uint8_t* data, size_t size, uint32_t position);
size_t Arm64Decode(uint8_t* data, size_t size, uint32_t position);
size_t PpcDecode(uint8_t* data, size_t size, uint32_t position);
size_t SparcDecode(uint8_t* data, size_t size, uint32_t position);
size_t Ia64Decode(uint8_t* data, size_t size, uint32_t position);
size_t RiscVDecode(uint8_t* data, size_t size, uint32_t position);

using BranchDecode = size_t (*)(uint8_t* data, size_t size, uint32_t position);

// Runs one branch converter, carrying the address from buffer to buffer.
class BranchFilter : public BufferFilter {
 public:
  BranchFilter(BranchDecode decode, uint32_t start) : decode_(decode), position_(start) {}
  size_t Convert(uint8_t* data, size_t size) override {
    size_t n = decode_(data, size, position_);
    position_ += uint32_t(n);
    return n;
  }

 private:
  BranchDecode decode_;
  uint32_t position_;
};

}  // namespace sevenzip
