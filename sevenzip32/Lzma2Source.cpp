#include "Lzma2Source.h"

#include <algorithm>

#include "ArchiveError.h"
#include "Lzma2Chunk.h"

namespace sevenzip {

Lzma2Source::Lzma2Source(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize)
    : state_(input, unpackSize) {
  state_.AllocateDictionary(Lzma2DictionarySize(properties));
}

// Every stretch of a segment starts with a dictionary reset and is no longer than the
// dictionary, so a larger window lets no match reach further than the serial decoder would.
Lzma2Source::Lzma2Source(ByteSource& input, const Lzma2Segment& segment, ByteBuffer& window)
    : state_(input, segment.unpackSize) {
  state_.UseWindow(window);
  if (segment.lcLpPb) {
    state_.SetProperties(*segment.lcLpPb);
    needProperties_ = false;
  }
}

uint8_t Lzma2Source::NextInputByte() {
  if (!state_.FillInput()) ThrowDamaged("LZMA2 data ends early");
  return state_.inBuffer[state_.inPos++];
}

void Lzma2Source::ReadChunkHeader() {
  uint8_t header[Lzma2Chunk::kMaxHeaderSize];
  header[0] = NextInputByte();
  const size_t size = Lzma2HeaderSize(header[0]);
  for (size_t i = 1; i < size; ++i) header[i] = NextInputByte();
  const Lzma2Chunk chunk = ParseLzma2Chunk(header);
  if (chunk.end) {
    ended_ = true;
    return;
  }
  // The window is only as large as the declared output: a chunk beyond it is damage.
  if (chunk.unpackSize > state_.OutputLeft()) ThrowDamaged("LZMA2 output longer than its size");
  if (needDictionaryReset_ && !chunk.ResetsDictionary()) ThrowDamaged("LZMA2 stream without dictionary reset");
  needDictionaryReset_ = false;
  storedChunk_ = chunk.stored;
  chunkUnpackRemaining_ = chunk.unpackSize;
  chunkPackRemaining_ = chunk.packSize;
  if (chunk.stored) {
    if (chunk.ResetsDictionary()) state_.ResetDictionary();
    return;
  }
  if (chunk.BringsProperties()) {
    state_.SetProperties(chunk.properties);
    needProperties_ = false;
  } else if (needProperties_) {
    ThrowDamaged("LZMA2 chunk without properties");
  }
  // Every LZMA chunk restarts the range coder; the higher modes also reset state and dictionary.
  if (chunk.ResetsDictionary())
    state_.ResetDictionary();
  else if (chunk.reset >= 1)
    state_.decoder.ResetState();
  state_.decoder.RestartRange();
}

// A stored chunk goes into the dictionary as is, so later chunks can refer back to it.
void Lzma2Source::DecodeStored(size_t want) {
  if (!state_.FillInput()) ThrowDamaged("LZMA2 data ends early");
  size_t n = state_.Store(want);
  chunkUnpackRemaining_ -= uint32_t(n);
}

void Lzma2Source::DecodeLzma(size_t want) {
  // Without input the decoder may still finish a match that stopped at the window's end.
  state_.FillInput();
  size_t consumedBefore = state_.inPos;
  size_t produced = state_.Decode(want, chunkPackRemaining_);
  size_t consumed = state_.inPos - consumedBefore;
  chunkPackRemaining_ -= uint32_t(consumed);
  chunkUnpackRemaining_ -= uint32_t(produced);
  if (produced == 0 && consumed == 0) ThrowDamaged("LZMA2 chunk ends early");
  if (chunkUnpackRemaining_ == 0 && chunkPackRemaining_ != 0) ThrowDamaged("LZMA2 chunk sizes disagree");
}

void Lzma2Source::Step() {
  if (chunkUnpackRemaining_ == 0) return ReadChunkHeader();
  size_t want = std::min<size_t>(chunkUnpackRemaining_, state_.Room());
  if (storedChunk_)
    DecodeStored(want);
  else
    DecodeLzma(want);
}

size_t Lzma2Source::Read(uint8_t* dest, size_t size) {
  size_t done = state_.TakeDecoded(dest, size);
  while (done < size && !ended_) {
    Step();
    done += state_.TakeDecoded(dest + done, size - done);
  }
  return done;
}

bool Lzma2Source::DecodeStep() {
  if (ended_ || state_.OutputLeft() == 0) return false;
  Step();
  return true;
}

}  // namespace sevenzip
