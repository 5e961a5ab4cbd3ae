#include "Bzip2Source.h"

#include "ArchiveError.h"

namespace sevenzip {
namespace {

constexpr uint64_t kBlockMagic = 0x314159265359;
constexpr uint64_t kEndMagic = 0x177245385090;

}  // namespace

bool Bzip2Source::StartBlock() {
  for (;;) {
    if (!inStream_) {
      if (bits_.AtEnd()) return false;
      if (bits_.Get(24) != 0x425A68) ThrowDamaged("bzip2 stream signature");  // "BZh"
      uint32_t level = bits_.Get(8);
      if (level < '1' || level > '9') ThrowDamaged("bzip2 block size");
      blockSize_ = (level - '0') * 100000;
      streamCrc_ = 0;
      inStream_ = true;
    }
    uint64_t magic = uint64_t(bits_.Get(24)) << 24 | bits_.Get(24);
    if (magic == kBlockMagic) {
      block_.Read(bits_, blockSize_);
      return true;
    }
    if (magic != kEndMagic) ThrowDamaged("bzip2 block magic");
    if (bits_.Get(32) != streamCrc_) ThrowDamaged("bzip2 stream CRC");
    bits_.AlignToByte();
    inStream_ = false;
  }
}

size_t Bzip2Source::Read(uint8_t* dest, size_t size) {
  size_t done = 0;
  while (done < size) {
    if (!inBlock_) {
      if (!StartBlock()) break;
      inBlock_ = true;
    }
    done += block_.Produce(dest + done, size - done);
    if (block_.Done()) {
      streamCrc_ = (streamCrc_ << 1 | streamCrc_ >> 31) ^ block_.StoredCrc();
      inBlock_ = false;
    }
  }
  return done;
}

}  // namespace sevenzip
