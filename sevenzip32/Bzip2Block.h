#pragma once
#include <cstdint>
#include <memory>

#include "Bzip2BitReader.h"

namespace sevenzip {

// One bzip2 block: its Huffman-coded move-to-front symbols read into the Burrows-Wheeler
// vector, then handed out through the inverse transform and the run-length stage, with
// the block's CRC checked once its last byte is out.
class Bzip2Block {
 public:
  // Reads the block after its 48-bit magic; maxSize is the stream's block size.
  void Read(Bzip2BitReader& bits, uint32_t maxSize);
  // Decoded bytes into dest; fewer than size only when the block is done.
  size_t Produce(uint8_t* dest, size_t size);
  bool Done() const { return left_ == 0 && pending_ == 0; }
  uint32_t StoredCrc() const { return storedCrc_; }

 private:
  void ReadSymbols(Bzip2BitReader& bits, uint32_t maxSize);

  // Low byte: the block byte; above: the link of the inverse. Not zeroed when allocated:
  // ReadSymbols writes each of the first size_ entries, and nothing reads past them.
  std::unique_ptr<uint32_t[]> tt_;
  uint32_t capacity_ = 0;
  uint32_t storedCrc_ = 0;
  uint32_t origin_ = 0;
  uint32_t size_ = 0;
  uint32_t pos_ = 0;      // the inverse transform's current link
  uint32_t left_ = 0;     // block bytes not yet taken
  uint32_t pending_ = 0;  // repeats of last_ still to write
  int last_ = -1;
  unsigned runLength_ = 0;
  uint32_t crc_ = 0;
};

}  // namespace sevenzip
