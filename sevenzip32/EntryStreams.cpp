#include "EntryStreams.h"

#include "ArchiveError.h"
#include "Crc32.h"
#include "ReadAheadSource.h"

namespace sevenzip {

ByteSource& EntryStreams::Next() {
  const auto& folders = archive_.Database().streams.folders;
  while (streamsLeft_ == 0) {
    Finish();
    if (nextFolder_ >= folders.size()) ThrowDamaged("more files than folders hold");
    const Folder& folder = folders[nextFolder_];
    folder_ = archive_.DecodeFolder(nextFolder_++);
    // A folder that fills more than a block is decoded beside the caller's checking and
    // writing, unless its decoder runs on threads of its own already.
    if (folder.UnpackSize() > ReadAheadSource::kBlockSize && !folder_->DecodesAhead())
      folder_ = ReadAheadSource::Ahead(std::move(folder_));
    streamsLeft_ = folder.unpackStreams;
  }
  --streamsLeft_;
  return *folder_;
}

void EntryStreams::CloseFolderIfDone() {
  if (streamsLeft_ == 0) Finish();
}

void EntryStreams::Finish() {
  uint8_t extra;
  if (folder_ && folder_->Read(&extra, 1) != 0) ThrowDamaged("folder longer than its files");
  folder_.reset();
}

void ReadEntryData(ByteSource& source, const Entry& entry, ByteBuffer& buffer,
                   const std::function<void(const uint8_t*, size_t)>& onChunk) {
  uint32_t crc = 0;
  for (uint64_t done = 0; done < entry.size;) {
    size_t want = entry.size - done < buffer.size() ? size_t(entry.size - done) : buffer.size();
    if (source.Read(buffer.data(), want) != want) ThrowDamaged("data ends early");
    crc = UpdateCrc32(crc, buffer.data(), want);
    done += want;
    onChunk(buffer.data(), want);
  }
  if (entry.crc && crc != *entry.crc) ThrowDamaged("data CRC");
}

void DecodeAllEntries(Archive& archive, const std::function<void(const Entry&)>& onEntry) {
  EntryStreams streams(archive);
  ByteBuffer buffer(size_t(1) << 18);
  for (const Entry& e : archive.Database().entries) {
    if (e.isAnti) continue;
    onEntry(e);
    if (e.isDirectory || !e.hasStream) continue;
    ReadEntryData(streams.Next(), e, buffer, [](const uint8_t*, size_t) {});
    streams.CloseFolderIfDone();
  }
  streams.Finish();
}

}  // namespace sevenzip
