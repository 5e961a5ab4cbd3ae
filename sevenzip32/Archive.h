#pragma once
#include <memory>
#include <vector>

#include "ArchiveModel.h"
#include "FolderDecoder.h"
#include "InStream.h"

namespace sevenzip {

// A 7z archive opened for reading: signature header, (packed) header and the layout of the
// packed streams, all checked. Bytes after the archive's end are not looked at.
class Archive {
 public:
  explicit Archive(InStream& in);  // throws ArchiveError
  const ArchiveDatabase& Database() const { return database_; }
  std::unique_ptr<FolderDecoder> DecodeFolder(size_t index);

 private:
  std::vector<uint8_t> ReadHeaderBytes(uint64_t offset, uint64_t size, uint32_t crc);
  std::vector<uint8_t> UnpackHeader(const StreamsInfo& streams);
  // Archive offset of every packed stream, checked to lie inside the file.
  static std::vector<uint64_t> PackOffsets(const StreamsInfo& streams, uint64_t fileSize);

  InStream& in_;
  ArchiveDatabase database_;
  std::vector<uint64_t> packOffsets_;  // one per packed stream
};

}  // namespace sevenzip
