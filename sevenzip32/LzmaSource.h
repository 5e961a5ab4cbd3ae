#pragma once
#include <vector>

#include "LzmaDecoderState.h"

namespace sevenzip {

// Decodes one LZMA stream of known unpacked size (7z method 03 01 01).
class LzmaSource : public ByteSource {
 public:
  LzmaSource(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize);
  size_t Read(uint8_t* dest, size_t size) override;

 private:
  LzmaDecoderState state_;
};

}  // namespace sevenzip
