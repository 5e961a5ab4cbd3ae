#pragma once
#include <memory>
#include <vector>

#include "ByteSource.h"

namespace sevenzip {

// One filter's conversion, run over a whole buffer at a time.
class BufferFilter {
 public:
  virtual ~BufferFilter() = default;
  // Converts in place; returns how many leading bytes are final. The rest (a possibly cut
  // unit of a few bytes) comes again with more data, or stays as is at the end.
  virtual size_t Convert(uint8_t* data, size_t size) = 0;
};

// Runs a filter over another source through one large buffer.
class FilterSource : public ByteSource {
 public:
  FilterSource(ByteSource& input, std::unique_ptr<BufferFilter> filter);
  size_t Read(uint8_t* dest, size_t size) override;

 private:
  ByteSource& input_;
  std::unique_ptr<BufferFilter> filter_;
  std::vector<uint8_t> buffer_;
  size_t outPos_ = 0;     // next byte to hand out
  size_t finalEnd_ = 0;   // end of the converted bytes
  size_t filledEnd_ = 0;  // end of the bytes read from the input
  bool inputEnded_ = false;
};

}  // namespace sevenzip
