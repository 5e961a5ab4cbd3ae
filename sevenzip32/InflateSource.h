#pragma once
#include <vector>

#include <zlib.h>

#include "ByteSource.h"

namespace sevenzip {

// Decodes one raw Deflate stream (7z method 04 01 08) with zlib.
class InflateSource : public ByteSource {
 public:
  explicit InflateSource(ByteSource& input);
  ~InflateSource() override;
  InflateSource(const InflateSource&) = delete;
  InflateSource& operator=(const InflateSource&) = delete;
  size_t Read(uint8_t* dest, size_t size) override;

 private:
  ByteSource& input_;
  z_stream stream_{};
  std::vector<uint8_t> inBuffer_;
  bool inputEnded_ = false;
  bool finished_ = false;
};

}  // namespace sevenzip
