#pragma once
#include "ByteSource.h"
#include "InStream.h"

namespace sevenzip {

// The bytes of one packed stream: a range of the archive file.
class PackStreamSource : public ByteSource {
 public:
  PackStreamSource(InStream& in, uint64_t offset, uint64_t size) : in_(in), offset_(offset), remaining_(size) {}
  size_t Read(uint8_t* dest, size_t size) override;
  // The part not read yet, for a decoder that reads it on threads of its own.
  InStream& Stream() const { return in_; }
  uint64_t Offset() const { return offset_; }
  uint64_t Remaining() const { return remaining_; }

 private:
  InStream& in_;
  uint64_t offset_;
  uint64_t remaining_;
};

}  // namespace sevenzip
