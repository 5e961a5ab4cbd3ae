#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "InStream.h"

namespace sevenzip {

// A run of LZMA2 chunks that starts with a dictionary reset, so that it decodes without the
// chunks before it.
struct Lzma2Segment {
  uint64_t packOffset = 0;  // in the archive
  uint64_t packSize = 0;
  uint64_t unpackSize = 0;
  std::optional<uint8_t> lcLpPb;  // the properties in force where it starts, if any
};

// Walks the chunk headers of the LZMA2 stream stored at offset..offset+packSize of in and
// groups its dictionary resets into segments of at most maxSegment output bytes each. Empty
// unless the stream is whole and well-formed as far as its headers tell (an end marker within
// packSize, unpackSize bytes of output in all), every stretch between two dictionary resets is
// at most dictionarySize, and there are at most maxSegments segments: the stream is then left
// to the serial decoder, which reports what is wrong where the data shows it.
std::vector<Lzma2Segment> SplitLzma2Stream(InStream& in, uint64_t offset, uint64_t packSize, uint64_t unpackSize,
                                           uint64_t dictionarySize, uint64_t maxSegment, size_t maxSegments);

}  // namespace sevenzip
