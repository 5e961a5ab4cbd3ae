#include "PackStreamSource.h"

#include "ArchiveError.h"

namespace sevenzip {

size_t PackStreamSource::Read(uint8_t* dest, size_t size) {
  size_t done = 0;
  while (done < size && remaining_ > 0) {
    size_t want = size - done < remaining_ ? size - done : size_t(remaining_);
    size_t n = in_.ReadAt(offset_, dest + done, want);
    if (n == 0) ThrowDamaged("archive ends inside packed data");
    done += n;
    offset_ += n;
    remaining_ -= n;
  }
  return done;
}

}  // namespace sevenzip
