#include "PpmdRangeDecoder.h"

#include "ArchiveError.h"

namespace sevenzip {

PpmdRangeDecoder::PpmdRangeDecoder(ByteSource& input) : input_(input), buffer_(1 << 16) {}

void PpmdRangeDecoder::Init() {
  if (NextByte() != 0) ThrowDamaged("PPMd stream start");
  for (int i = 0; i < 4; ++i) code_ = code_ << 8 | NextByte();
  if (code_ == 0xFFFFFFFF) ThrowDamaged("PPMd stream start");
}

// The encoder flushes every byte the decoder will shift in, so running dry is damage.
void PpmdRangeDecoder::Refill() {
  size_t n = input_.Read(buffer_.data(), buffer_.size());
  if (n == 0) ThrowDamaged("PPMd data ends early");
  pos_ = buffer_.data();
  end_ = pos_ + n;
}

}  // namespace sevenzip
