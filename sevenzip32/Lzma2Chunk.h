#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sevenzip {

// The header of one LZMA2 chunk: a control byte, then the sizes and, where the chunk brings
// new ones, the lc/lp/pb properties.
struct Lzma2Chunk {
  static constexpr size_t kMaxHeaderSize = 6;

  bool end = false;     // the stream's end marker; nothing else is set
  bool stored = false;  // copied as is; packSize == unpackSize
  // LZMA chunks: 0 keeps the state, 1 resets it, 2 also brings properties, 3 also resets the
  // dictionary. Stored chunks: 3 with a dictionary reset, else 0.
  unsigned reset = 0;
  uint8_t properties = 0;  // when reset >= 2 and not stored
  uint32_t unpackSize = 0;
  uint32_t packSize = 0;

  bool ResetsDictionary() const { return reset == 3; }
  bool BringsProperties() const { return !stored && reset >= 2; }
};

// The dictionary size the coder's one property byte declares; throws ArchiveError otherwise.
uint32_t Lzma2DictionarySize(const std::vector<uint8_t>& properties);

// The header's length, known from its control byte; throws ArchiveError for a control byte
// no chunk has.
size_t Lzma2HeaderSize(uint8_t control);
// Parses the Lzma2HeaderSize(header[0]) bytes at header; throws ArchiveError for properties
// out of range.
Lzma2Chunk ParseLzma2Chunk(const uint8_t* header);

}  // namespace sevenzip
