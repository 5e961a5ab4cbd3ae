#include "InflateSource.h"

#include <limits>

#include "ArchiveError.h"

namespace sevenzip {

InflateSource::InflateSource(ByteSource& input) : input_(input), inBuffer_(1 << 17) {
  // Negative window bits: raw Deflate, no zlib header or checksum.
  if (inflateInit2(&stream_, -15) != Z_OK) throw std::bad_alloc();
}

InflateSource::~InflateSource() { inflateEnd(&stream_); }

size_t InflateSource::Read(uint8_t* dest, size_t size) {
  size_t done = 0;
  while (done < size && !finished_) {
    if (stream_.avail_in == 0 && !inputEnded_) {
      size_t n = input_.Read(inBuffer_.data(), inBuffer_.size());
      inputEnded_ = n < inBuffer_.size();
      stream_.next_in = inBuffer_.data();
      stream_.avail_in = uInt(n);
    }
    size_t want = size - done;
    if (want > std::numeric_limits<uInt>::max()) want = std::numeric_limits<uInt>::max();
    stream_.next_out = dest + done;
    stream_.avail_out = uInt(want);
    int result = inflate(&stream_, Z_NO_FLUSH);
    done += want - stream_.avail_out;
    if (result == Z_STREAM_END) {
      finished_ = true;
    } else if (result == Z_BUF_ERROR && stream_.avail_in == 0 && inputEnded_) {
      ThrowDamaged("Deflate data ends early");
    } else if (result == Z_MEM_ERROR) {
      throw std::bad_alloc();
    } else if (result != Z_OK && result != Z_BUF_ERROR) {
      ThrowDamaged("Deflate data error");
    }
  }
  return done;
}

}  // namespace sevenzip
