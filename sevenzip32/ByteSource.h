#pragma once
#include <cstddef>
#include <cstdint>

namespace sevenzip {

// A pull stream of decoded bytes. Read returns fewer bytes than asked only at the end of the
// stream; damaged input throws ArchiveError.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t Read(uint8_t* dest, size_t size) = 0;
  // True when the source decodes on threads of its own, ahead of its reader.
  virtual bool DecodesAhead() const { return false; }
};

}  // namespace sevenzip
