#include "LzmaSource.h"

#include <cstdint>

#include "ArchiveError.h"
#include "ByteOrder.h"

namespace sevenzip {

LzmaSource::LzmaSource(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize)
    : state_(input, unpackSize) {
  if (properties.size() != 5) ThrowUnsupported("LZMA properties size");
  state_.SetProperties(properties[0]);
  state_.AllocateDictionary(LoadLe32(properties.data() + 1));
}

size_t LzmaSource::Read(uint8_t* dest, size_t size) {
  size_t done = state_.TakeDecoded(dest, size);
  while (done < size) {
    size_t room = state_.Room();
    if (room == 0) break;  // the declared size is decoded; the stream ends here
    // No input left is not yet the end: the decoder may still hold the rest of a match
    // that stopped where the window wraps.
    state_.FillInput();
    size_t consumedBefore = state_.inPos;
    size_t produced = state_.Decode(room, UINT64_MAX);
    if (produced == 0 && state_.inPos == consumedBefore) ThrowDamaged("LZMA data ends early");
    done += state_.TakeDecoded(dest + done, size - done);
  }
  return done;
}

}  // namespace sevenzip
