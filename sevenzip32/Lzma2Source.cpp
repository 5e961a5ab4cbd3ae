#include "Lzma2Source.h"

#include <algorithm>

#include "ArchiveError.h"

namespace sevenzip {
namespace {

constexpr uint8_t kEndOfStream = 0x00;
constexpr uint8_t kStoredWithReset = 0x01;
constexpr uint8_t kStored = 0x02;
constexpr uint8_t kMaxDictionaryProperty = 40;

uint32_t DictionarySize(uint8_t property) {
  if (property > kMaxDictionaryProperty) ThrowUnsupported("LZMA2 dictionary size");
  if (property == kMaxDictionaryProperty) return 0xFFFFFFFF;
  return (2u | (property & 1)) << (property / 2 + 11);
}

}  // namespace

Lzma2Source::Lzma2Source(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize)
    : state_(input, unpackSize), dictionarySize_(properties.size() == 1 ? DictionarySize(properties[0]) : 0) {
  if (properties.size() != 1) ThrowUnsupported("LZMA2 properties size");
  state_.AllocateDictionary(dictionarySize_);
}

uint8_t Lzma2Source::NextInputByte() {
  if (!state_.FillInput()) ThrowDamaged("LZMA2 data ends early");
  return state_.inBuffer[state_.inPos++];
}

void Lzma2Source::ReadChunkHeader() {
  uint8_t control = NextInputByte();
  if (control == kEndOfStream) {
    ended_ = true;
    return;
  }
  bool stored = control == kStoredWithReset || control == kStored;
  if (!stored && control < 0x80) ThrowDamaged("bad LZMA2 chunk");
  uint32_t unpack = stored ? 0 : uint32_t(control & 0x1F) << 16;
  unpack |= uint32_t(NextInputByte()) << 8;
  unpack |= NextInputByte();
  chunkUnpackRemaining_ = unpack + 1;
  // The window is only as large as the declared output: a chunk beyond it is damage.
  if (chunkUnpackRemaining_ > state_.OutputLeft()) ThrowDamaged("LZMA2 output longer than its size");
  bool resetDictionary = stored ? control == kStoredWithReset : (control >> 5 & 3) == 3;
  if (needDictionaryReset_ && !resetDictionary) ThrowDamaged("LZMA2 stream without dictionary reset");
  storedChunk_ = stored;
  if (stored) {
    if (resetDictionary) state_.ResetDictionary();
    needDictionaryReset_ = false;
    return;
  }
  uint32_t pack = uint32_t(NextInputByte()) << 8;
  pack |= NextInputByte();
  chunkPackRemaining_ = pack + 1;
  unsigned mode = control >> 5 & 3;
  if (mode >= 2) {
    uint8_t lclppb = NextInputByte();
    if (lclppb >= 9 * 5 * 5) ThrowDamaged("bad LZMA2 properties");
    unsigned lc = lclppb % 9, lp = lclppb / 9 % 5;
    if (lc + lp > 4) ThrowDamaged("bad LZMA2 properties");
    state_.SetProperties(lclppb);
    needProperties_ = false;
  } else if (needProperties_) {
    ThrowDamaged("LZMA2 chunk without properties");
  }
  // Every LZMA chunk restarts the range coder; the higher modes also reset state and dictionary.
  if (mode == 3)
    state_.ResetDictionary();
  else if (mode >= 1)
    state_.decoder.ResetState();
  state_.decoder.RestartRange();
  needDictionaryReset_ = false;
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

size_t Lzma2Source::Read(uint8_t* dest, size_t size) {
  size_t done = state_.TakeDecoded(dest, size);
  while (done < size && !ended_) {
    if (chunkUnpackRemaining_ == 0) {
      ReadChunkHeader();
      continue;
    }
    size_t want = std::min<size_t>(chunkUnpackRemaining_, state_.Room());
    if (storedChunk_)
      DecodeStored(want);
    else
      DecodeLzma(want);
    done += state_.TakeDecoded(dest + done, size - done);
  }
  return done;
}

}  // namespace sevenzip
