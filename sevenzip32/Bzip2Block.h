#pragma once
#include <cstdint>

#include "Bzip2BitReader.h"
#include "ByteBuffer.h"

namespace sevenzip {

// One bzip2 block: its Huffman-coded move-to-front symbols read into the Burrows-Wheeler
// vector and put back in order by the inverse transform, then handed out through the
// run-length stage, with the block's CRC checked once its last byte is out.
class Bzip2Block {
 public:
  // Reads the block after its 48-bit magic; maxSize is the stream's block size.
  void Read(Bzip2BitReader& bits, uint32_t maxSize);
  // Decoded bytes into dest; fewer than size only when the block is done.
  size_t Produce(uint8_t* dest, size_t size);
  bool Done() const { return next_ == size_ && pending_ == 0; }
  uint32_t StoredCrc() const { return storedCrc_; }

 private:
  void ReadSymbols(Bzip2BitReader& bits, uint32_t maxSize);
  void LinkEntries();
  void Invert();

  // Bits 0-7: the block byte; 8-27: the link to the next entry of the inverse transform;
  // 28-31: the high bits of the link back (its low bits in back_). Blocks hold under 2^20
  // bytes. Not zeroed when allocated: ReadSymbols writes each of the first size_ entries, and
  // nothing reads past them.
  ByteBuffer memory_;  // holds the three tables below
  uint32_t* tt_ = nullptr;
  uint16_t* back_ = nullptr;
  uint8_t* text_ = nullptr;  // the block's bytes in order, before the run-length stage
  uint32_t storedCrc_ = 0;
  uint32_t origin_ = 0;
  uint32_t size_ = 0;
  uint32_t next_ = 0;     // the first byte of text_ not yet taken
  uint32_t pending_ = 0;  // repeats of last_ still to write
  int last_ = -1;
  unsigned runLength_ = 0;
  uint32_t crc_ = 0;
};

}  // namespace sevenzip
