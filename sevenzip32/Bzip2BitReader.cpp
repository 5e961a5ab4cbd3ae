#include "Bzip2BitReader.h"

namespace sevenzip {

bool Bzip2BitReader::LoadBytes() {
  size_t n = input_.Read(buffer_.data(), buffer_.size());
  pos_ = buffer_.data();
  end_ = pos_ + n;
  return n > 0;
}

void Bzip2BitReader::Fill(unsigned n) {
  while (count_ < n) {
    if (pos_ == end_ && !LoadBytes()) ThrowDamaged("bzip2 data ends early");
    // Whole bytes while they fit in the 64-bit store.
    while (count_ <= 56 && pos_ != end_) {
      bits_ = bits_ << 8 | *pos_++;
      count_ += 8;
    }
  }
}

bool Bzip2BitReader::AtEnd() { return count_ == 0 && pos_ == end_ && !LoadBytes(); }

}  // namespace sevenzip
