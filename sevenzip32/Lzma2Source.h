#pragma once
#include <optional>
#include <vector>

#include "Lzma2Segments.h"
#include "LzmaDecoderState.h"

namespace sevenzip {

// Decodes an LZMA2 stream (7z method 21): a sequence of chunks, each LZMA-coded or stored,
// that may reset the dictionary, the coder state or the properties.
class Lzma2Source : public ByteSource {
 public:
  Lzma2Source(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize);
  // One segment of a longer stream, read from input, decoded into window, which holds all of
  // its output and outlives the source.
  Lzma2Source(ByteSource& input, const Lzma2Segment& segment, ByteBuffer& window);
  size_t Read(uint8_t* dest, size_t size) override;

  // For a segment: decodes a step further into the window, handing nothing out; false once
  // all of its output is decoded or the stream ended. The first DecodedSize() bytes at
  // Decoded() are final.
  bool DecodeStep();
  const uint8_t* Decoded() const { return state_.Window(); }
  size_t DecodedSize() const { return state_.WindowPos(); }

 private:
  void Step();
  void ReadChunkHeader();
  uint8_t NextInputByte();
  void DecodeStored(size_t want);
  void DecodeLzma(size_t want);

  LzmaDecoderState state_;
  bool ended_ = false;
  bool needDictionaryReset_ = true;
  bool needProperties_ = true;
  bool storedChunk_ = false;
  uint32_t chunkUnpackRemaining_ = 0;
  uint32_t chunkPackRemaining_ = 0;
};

}  // namespace sevenzip
