#pragma once
#include <vector>

#include "ByteSource.h"
#include "DeflateHuffman.h"

namespace sevenzip {

// Decodes one Deflate64 stream (7z method 04 01 09): Deflate with a 64 KiB window, length
// code 285 carrying 16 extra bits and distance codes 30 and 31.
class Deflate64Source : public ByteSource {
 public:
  explicit Deflate64Source(ByteSource& input);
  size_t Read(uint8_t* dest, size_t size) override;

 private:
  enum class Block { Header, Stored, Huffman, Done };

  void Refill();
  uint32_t Bits(unsigned n);
  unsigned DecodeSymbol(const DeflateHuffman& code);
  void ReadBlockHeader();
  void ReadDynamicCodes();
  void Emit(uint8_t b, uint8_t* dest, size_t& done) {
    window_[windowPos_++ & kWindowMask] = b;
    dest[done++] = b;
  }

  static constexpr uint32_t kWindowMask = (1u << 16) - 1;

  ByteSource& input_;
  std::vector<uint8_t> in_;
  size_t inPos_ = 0, inEnd_ = 0;
  bool inputEnded_ = false;
  uint64_t bitBuf_ = 0;
  unsigned bitCount_ = 0;

  std::vector<uint8_t> window_;
  uint64_t windowPos_ = 0;  // bytes decoded so far
  Block block_ = Block::Header;
  bool lastBlock_ = false;
  uint32_t storedLeft_ = 0;
  uint32_t matchLeft_ = 0, matchDistance_ = 0;
  DeflateHuffman literals_, distances_;
};

}  // namespace sevenzip
