#pragma once
#include <vector>

#include "LzmaDecoderState.h"

namespace sevenzip {

// Decodes an LZMA2 stream (7z method 21): a sequence of chunks, each LZMA-coded or stored,
// that may reset the dictionary, the coder state or the properties.
class Lzma2Source : public ByteSource {
 public:
  Lzma2Source(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize);
  size_t Read(uint8_t* dest, size_t size) override;

 private:
  void ReadChunkHeader();
  uint8_t NextInputByte();
  void DecodeStored(size_t want);
  void DecodeLzma(size_t want);

  LzmaDecoderState state_;
  uint32_t dictionarySize_;
  bool ended_ = false;
  bool needDictionaryReset_ = true;
  bool needProperties_ = true;
  bool storedChunk_ = false;
  uint32_t chunkUnpackRemaining_ = 0;
  uint32_t chunkPackRemaining_ = 0;
};

}  // namespace sevenzip
