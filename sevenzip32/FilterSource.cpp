#include "FilterSource.h"

#include <cstring>

namespace sevenzip {

FilterSource::FilterSource(ByteSource& input, std::unique_ptr<BufferFilter> filter)
    : input_(input), filter_(std::move(filter)), buffer_(1 << 18) {}

size_t FilterSource::Read(uint8_t* dest, size_t size) {
  size_t done = 0;
  while (done < size) {
    if (outPos_ < finalEnd_) {
      size_t n = finalEnd_ - outPos_ < size - done ? finalEnd_ - outPos_ : size - done;
      std::memcpy(dest + done, buffer_.data() + outPos_, n);
      outPos_ += n;
      done += n;
      continue;
    }
    // Keep the unconverted tail and read more behind it.
    size_t tail = filledEnd_ - finalEnd_;
    std::memmove(buffer_.data(), buffer_.data() + finalEnd_, tail);
    outPos_ = finalEnd_ = 0;
    filledEnd_ = tail;
    while (!inputEnded_ && filledEnd_ < buffer_.size()) {
      size_t n = input_.Read(buffer_.data() + filledEnd_, buffer_.size() - filledEnd_);
      inputEnded_ = n == 0;
      filledEnd_ += n;
    }
    if (filledEnd_ == 0) break;
    finalEnd_ = filter_->Convert(buffer_.data(), filledEnd_);
    if (inputEnded_) finalEnd_ = filledEnd_;  // a cut unit at the very end stays as is
  }
  return done;
}

}  // namespace sevenzip
