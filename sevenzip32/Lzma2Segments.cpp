#include "Lzma2Segments.h"

#include <algorithm>

#include "ArchiveError.h"
#include "Lzma2Chunk.h"

namespace sevenzip {
namespace {

// Reads the headers through a small buffer: chunks of a few bytes share one read.
class HeaderReader {
 public:
  explicit HeaderReader(InStream& in) : in_(in) {}

  // The header at offset, which must lie before end; null if the stream ends inside it.
  const uint8_t* HeaderAt(uint64_t offset, uint64_t end) {
    if (offset < start_ || offset + Lzma2Chunk::kMaxHeaderSize > start_ + size_) {
      size_t want = size_t(std::min<uint64_t>(sizeof(buffer_), end - offset));
      start_ = offset;
      size_ = 0;
      while (size_ < want) {
        size_t n = in_.ReadAt(offset + size_, buffer_ + size_, want - size_);
        if (n == 0) break;
        size_ += n;
      }
    }
    const uint8_t* header = buffer_ + (offset - start_);
    size_t available = size_t(start_ + size_ - offset);
    if (available == 0 || Lzma2HeaderSize(header[0]) > available) return nullptr;
    return header;
  }

 private:
  InStream& in_;
  uint8_t buffer_[4096];
  uint64_t start_ = 0;
  size_t size_ = 0;
};

}  // namespace

std::vector<Lzma2Segment> SplitLzma2Stream(InStream& in, uint64_t offset, uint64_t packSize, uint64_t unpackSize,
                                           uint64_t dictionarySize, uint64_t maxSegment, size_t maxSegments) {
  std::vector<Lzma2Segment> segments;
  HeaderReader reader(in);
  const uint64_t end = offset + packSize;
  Lzma2Segment run;  // since the last dictionary reset
  std::optional<uint8_t> lcLpPb;
  uint64_t total = 0;
  // A finished run joins the last segment while that stays within maxSegment.
  auto close = [&] {
    Lzma2Segment* last = segments.empty() ? nullptr : &segments.back();
    if (last && last->unpackSize + run.unpackSize <= maxSegment) {
      last->packSize += run.packSize;
      last->unpackSize += run.unpackSize;
    } else {
      segments.push_back(run);
    }
  };
  try {
    for (uint64_t at = offset; at < end;) {
      const uint8_t* header = reader.HeaderAt(at, end);
      if (!header) return {};
      const size_t headerSize = Lzma2HeaderSize(header[0]);
      const Lzma2Chunk chunk = ParseLzma2Chunk(header);
      if (chunk.end) {
        if (total != unpackSize || run.unpackSize == 0) return {};
        close();
        return segments;
      }
      if (chunk.ResetsDictionary() && run.unpackSize != 0) {
        close();
        if (segments.size() > maxSegments) return {};
        run = Lzma2Segment{at, 0, 0, lcLpPb};
      } else if (run.unpackSize == 0) {
        if (!chunk.ResetsDictionary()) return {};
        run.packOffset = at;
      }
      if (chunk.BringsProperties()) lcLpPb = chunk.properties;
      const uint64_t chunkEnd = at + headerSize + (chunk.stored ? chunk.unpackSize : chunk.packSize);
      if (chunkEnd > end) return {};
      run.packSize += chunkEnd - at;
      run.unpackSize += chunk.unpackSize;
      total += chunk.unpackSize;
      if (run.unpackSize > dictionarySize || total > unpackSize) return {};
      at = chunkEnd;
    }
  } catch (const ArchiveError&) {
  }
  return {};
}

}  // namespace sevenzip
