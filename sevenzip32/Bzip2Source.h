#pragma once
#include "Bzip2BitReader.h"
#include "Bzip2Block.h"

namespace sevenzip {

// Decodes bzip2 data (7z method 04 02 02): one or more streams back to back, each of
// blocks with their own CRC and closed by the CRC of all its blocks.
class Bzip2Source : public ByteSource {
 public:
  explicit Bzip2Source(ByteSource& input) : bits_(input) {}
  size_t Read(uint8_t* dest, size_t size) override;

 private:
  // Reads up to the next block; false at the end of the input.
  bool StartBlock();

  Bzip2BitReader bits_;
  Bzip2Block block_;
  bool inBlock_ = false;
  bool inStream_ = false;
  uint32_t blockSize_ = 0;
  uint32_t streamCrc_ = 0;
};

}  // namespace sevenzip
