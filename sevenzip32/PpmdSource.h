#pragma once
#include <memory>
#include <vector>

#include "PpmdModel.h"
#include "PpmdRangeDecoder.h"

namespace sevenzip {

// Decodes one PPMd stream (7z method 03 04 01): properties are the model order and its
// memory size; the stream has no end of its own, so it stops at the declared size.
class PpmdSource : public ByteSource {
 public:
  PpmdSource(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize);
  size_t Read(uint8_t* dest, size_t size) override;

 private:
  PpmdRangeDecoder rc_;
  std::unique_ptr<PpmdModel> model_;
  uint64_t remaining_;
  bool started_ = false;
};

}  // namespace sevenzip
