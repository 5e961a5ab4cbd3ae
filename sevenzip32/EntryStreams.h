#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "Archive.h"
#include "ByteBuffer.h"

namespace sevenzip {

// The data of the archive's entries in archive order, folder by folder. A folder must end
// exactly where its last file ends: more output than its files take is damage.
class EntryStreams {
 public:
  explicit EntryStreams(Archive& archive) : archive_(archive) {}
  // The stream holding the next entry with data, positioned at that entry's first byte.
  ByteSource& Next();
  // After an entry's data: when it was its folder's last, checks and closes the folder, so
  // that a damaged end belongs to that entry. Finish does the same after the last entry.
  void CloseFolderIfDone();
  void Finish();

 private:
  Archive& archive_;
  std::unique_ptr<ByteSource> folder_;
  size_t nextFolder_ = 0;
  uint64_t streamsLeft_ = 0;
};

// Reads the entry's data from source in buffer-sized chunks, handing each to onChunk, and
// checks its length and CRC (ArchiveError when either fails).
void ReadEntryData(ByteSource& source, const Entry& entry, ByteBuffer& buffer,
                   const std::function<void(const uint8_t*, size_t)>& onChunk);

// Decodes the data of every entry in the order extraction takes them with every check
// extraction makes, keeping nothing. onEntry hears of an entry before its data is decoded,
// so an ArchiveError thrown from here belongs to the entry last announced.
void DecodeAllEntries(Archive& archive, const std::function<void(const Entry&)>& onEntry);

}  // namespace sevenzip
