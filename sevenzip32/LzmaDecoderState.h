#pragma once
#include <cstdint>

#include "ByteBuffer.h"
#include "ByteSource.h"
#include "LzmaDecoder.h"

namespace sevenzip {

// An LZMA decoder with a window of our own and a buffered input, shared by the LZMA and LZMA2
// sources. Decoded bytes wait in the window until Read copies them out. The window is never
// larger than the declared output, so the decoder must never produce more than that: Room()
// counts down what is left of it.
class LzmaDecoderState {
 public:
  LzmaDecoderState(ByteSource& input, uint64_t unpackSize);

  // lc/lp/pb from their one-byte form; fresh probabilities and state.
  void SetProperties(uint8_t lcLpPb);
  // Allocates the window once; only as much as this stream can fill.
  void AllocateDictionary(uint32_t dictionarySize);
  // Decodes into the caller's buffer instead, which outlives this state.
  void UseWindow(ByteBuffer& buffer);
  // Forgets the window's contents (matches may not reach before this point) and the state.
  void ResetDictionary();
  // Copies decoded bytes still held in the window; returns how many.
  size_t TakeDecoded(uint8_t* dest, size_t size);
  // Room for at most this many new bytes: before the window wraps and within the
  // declared output. 0 once all of it was decoded.
  size_t Room();
  // Bytes of the declared output not decoded yet.
  uint64_t OutputLeft() const { return outputLeft_; }
  // Keeps enough input buffered for the decoder's next step; false at the end of the input.
  bool FillInput();
  // Runs the decoder up to `want` new bytes (at most Room()) over the buffered input, of
  // which it may use up to inputLimit bytes, all that is left of its stream or chunk;
  // returns how many it produced.
  size_t Decode(size_t want, uint64_t inputLimit);
  // The window and where the next decoded byte goes in it.
  const uint8_t* Window() const { return window_.data; }
  size_t WindowPos() const { return window_.pos; }
  // Appends stored bytes from the buffered input, as a stored LZMA2 chunk does.
  size_t Store(size_t want);

  LzmaDecoder decoder;
  ByteBuffer inBuffer;
  size_t inPos = 0;
  size_t inEnd = 0;

 private:
  ByteSource& input_;
  bool inputEnded_ = false;
  uint64_t outputLeft_;
  ByteBuffer dictionary_;
  LzmaWindow window_;
  size_t outPos_ = 0;
};

}  // namespace sevenzip
