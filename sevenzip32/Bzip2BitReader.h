#pragma once
#include <cstdint>
#include <vector>

#include "ArchiveError.h"
#include "ByteSource.h"

namespace sevenzip {

// Most-significant-bit-first reading of a bzip2 stream. Running out of input inside a
// stream is damage: every block is followed by at least the 80 bits of the stream end.
class Bzip2BitReader {
 public:
  explicit Bzip2BitReader(ByteSource& input) : input_(input), buffer_(1 << 16) {}

  // Up to 32 bits, without consuming them.
  uint32_t Peek(unsigned n) {
    if (count_ < n) Fill(n);
    return uint32_t(bits_ >> (count_ - n)) & uint32_t((uint64_t(1) << n) - 1);
  }
  void Skip(unsigned n) { count_ -= n; }
  uint32_t Get(unsigned n) {
    uint32_t v = Peek(n);
    count_ -= n;
    return v;
  }
  // Drops the bits up to the next byte boundary, where a following stream starts.
  void AlignToByte() { count_ -= count_ % 8; }
  // True when neither buffered bits nor input bytes are left.
  bool AtEnd();

 private:
  void Fill(unsigned n);
  bool LoadBytes();

  ByteSource& input_;
  std::vector<uint8_t> buffer_;
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t bits_ = 0;  // the low count_ bits are the next ones, first bit highest
  unsigned count_ = 0;
};

}  // namespace sevenzip
