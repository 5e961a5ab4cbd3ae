#include "LzmaDecoderState.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ArchiveError.h"
#include "DecoderMemory.h"

namespace sevenzip {
namespace {

constexpr size_t kInputBufferSize = 1 << 18;
// Below this many buffered bytes the input is topped up, so the decoder's fast loop runs on.
constexpr size_t kInputKeep = 4 * LzmaDecoder::kMaxSymbolInput;
constexpr uint64_t kMinDictionary = 1 << 12;

}  // namespace

LzmaDecoderState::LzmaDecoderState(ByteSource& input, uint64_t unpackSize)
    : inBuffer(kInputBufferSize), input_(input), outputLeft_(unpackSize) {}

void LzmaDecoderState::SetProperties(uint8_t lcLpPb) {
  if (lcLpPb >= 9 * 5 * 5) ThrowUnsupported("LZMA properties");
  decoder.SetProperties(lcLpPb % 9, lcLpPb / 9 % 5, lcLpPb / 45);
}

void LzmaDecoderState::AllocateDictionary(uint32_t dictionarySize) {
  // A small file needs no 64 MiB window.
  uint64_t size = std::max(std::min<uint64_t>(dictionarySize, outputLeft_), kMinDictionary);
  if (size > kMaxDecoderMemory) ThrowUnsupported("LZMA dictionary too large");
  dictionary_ = ByteBuffer(size_t(size));
  window_.data = dictionary_.data();
  window_.size = dictionary_.size();
}

void LzmaDecoderState::UseWindow(ByteBuffer& buffer) {
  window_.data = buffer.data();
  window_.size = buffer.size();
}

void LzmaDecoderState::ResetDictionary() {
  window_.Reset();
  decoder.ResetState();
}

size_t LzmaDecoderState::TakeDecoded(uint8_t* dest, size_t size) {
  size_t n = std::min(window_.pos - outPos_, size);
  std::memcpy(dest, window_.data + outPos_, n);
  outPos_ += n;
  return n;
}

size_t LzmaDecoderState::Room() {
  if (window_.pos == window_.size && outPos_ == window_.pos) window_.pos = outPos_ = 0;
  return size_t(std::min<uint64_t>(window_.size - window_.pos, outputLeft_));
}

bool LzmaDecoderState::FillInput() {
  if (inEnd - inPos >= kInputKeep || inputEnded_) return inPos < inEnd;
  std::memmove(inBuffer.data(), inBuffer.data() + inPos, inEnd - inPos);
  inEnd -= inPos;
  inPos = 0;
  size_t want = inBuffer.size() - inEnd;
  size_t got = input_.Read(inBuffer.data() + inEnd, want);
  inEnd += got;
  inputEnded_ = got < want;
  return inPos < inEnd;
}

size_t LzmaDecoderState::Decode(size_t want, uint64_t inputLimit) {
  want = std::min(want, Room());
  size_t buffered = inEnd - inPos;
  bool final = inputEnded_ || inputLimit <= buffered;
  size_t avail = size_t(std::min<uint64_t>(buffered, inputLimit));
  size_t before = window_.pos;
  inPos += decoder.Decode(window_, before + want, inBuffer.data() + inPos, avail, final);
  size_t produced = window_.pos - before;
  outputLeft_ -= produced;
  return produced;
}

size_t LzmaDecoderState::Store(size_t want) {
  size_t n = std::min({want, Room(), inEnd - inPos});
  std::memcpy(window_.data + window_.pos, inBuffer.data() + inPos, n);
  window_.Advance(n);
  inPos += n;
  outputLeft_ -= n;
  return n;
}

}  // namespace sevenzip
