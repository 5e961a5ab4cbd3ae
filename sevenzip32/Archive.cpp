#include "Archive.h"

#include <algorithm>
#include <cstring>

#include "ArchiveError.h"
#include "Crc32.h"
#include "HeaderParser.h"

namespace sevenzip {
namespace {

constexpr uint8_t kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
constexpr uint64_t kSignatureHeaderSize = 32;
// Headers of real archives stay far below this even with a million entries.
constexpr uint64_t kMaxHeaderSize = uint64_t(1) << 28;
// A packed header packed again is legal; deeper nesting is not worth following.
constexpr int kMaxHeaderNesting = 4;
constexpr size_t kHeaderStep = size_t(1) << 20;

uint32_t LoadUInt32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint64_t LoadUInt64(const uint8_t* p) { return LoadUInt32(p) | uint64_t(LoadUInt32(p + 4)) << 32; }

void ReadExactly(InStream& in, uint64_t offset, uint8_t* dest, size_t size) {
  while (size > 0) {
    size_t n = in.ReadAt(offset, dest, size);
    if (n == 0) ThrowDamaged("archive ends early");
    offset += n;
    dest += n;
    size -= n;
  }
}

// The folder's own packed streams; PackOffsets has checked that they exist.
std::span<const uint64_t> FolderPackOffsets(const std::vector<uint64_t>& offsets, const Folder& f) {
  return std::span<const uint64_t>(offsets).subspan(size_t(f.firstPackStream), f.packedStreams.size());
}

std::span<const uint64_t> FolderPackSizes(const StreamsInfo& streams, const Folder& f) {
  return FolderPackOffsets(streams.packSizes, f);
}

}  // namespace

Archive::Archive(InStream& in) : in_(in) {
  uint8_t start[kSignatureHeaderSize];
  ReadExactly(in, 0, start, sizeof start);
  if (std::memcmp(start, kSignature, sizeof kSignature) != 0) ThrowDamaged("not a 7z archive");
  if (start[6] != 0) ThrowUnsupported("archive version");
  if (Crc32(start + 12, 20) != LoadUInt32(start + 8)) ThrowDamaged("start header CRC");
  uint64_t nextOffset = LoadUInt64(start + 12);
  uint64_t nextSize = LoadUInt64(start + 20);
  uint32_t nextCrc = LoadUInt32(start + 28);
  if (nextSize == 0) return;  // an archive without entries

  std::vector<uint8_t> header = ReadHeaderBytes(kSignatureHeaderSize + nextOffset, nextSize, nextCrc);
  for (int depth = 0;; ++depth) {
    database_ = ArchiveDatabase{};
    if (ParseHeader(header.data(), header.size(), database_) == HeaderKind::Plain) break;
    if (depth == kMaxHeaderNesting) ThrowUnsupported("header nesting");
    header = UnpackHeader(database_.streams);
  }
  packOffsets_ = PackOffsets(database_.streams, in.Size());
  for (const auto& f : database_.streams.folders) CheckFolderSupported(f);
}

std::vector<uint8_t> Archive::ReadHeaderBytes(uint64_t offset, uint64_t size, uint32_t crc) {
  uint64_t fileSize = in_.Size();
  if (offset < kSignatureHeaderSize || offset > fileSize || size > fileSize - offset || size > kMaxHeaderSize)
    ThrowDamaged("header outside the file");
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  ReadExactly(in_, offset, bytes.data(), bytes.size());
  if (Crc32(bytes.data(), bytes.size()) != crc) ThrowDamaged("header CRC");
  return bytes;
}

std::vector<uint8_t> Archive::UnpackHeader(const StreamsInfo& streams) {
  if (streams.folders.size() != 1) ThrowDamaged("packed header needs one folder");
  const Folder& folder = streams.folders[0];
  uint64_t size = folder.UnpackSize();
  if (size == 0 || size > kMaxHeaderSize) ThrowDamaged("packed header size");
  std::vector<uint64_t> offsets = PackOffsets(streams, in_.Size());
  FolderDecoder decoder(in_, folder, FolderPackOffsets(offsets, folder), FolderPackSizes(streams, folder));
  // Grown as it decodes, so that a size alone allocates nothing.
  std::vector<uint8_t> header;
  while (header.size() < size) {
    size_t done = header.size(), step = std::min<uint64_t>(size - done, kHeaderStep);
    header.resize(done + step);
    if (decoder.Read(header.data() + done, step) != step) ThrowDamaged("packed header ends early");
  }
  uint8_t extra;
  if (decoder.Read(&extra, 1) != 0) ThrowDamaged("packed header longer than its size");
  if (folder.crc && Crc32(header.data(), header.size()) != *folder.crc) ThrowDamaged("packed header CRC");
  return header;
}

std::unique_ptr<FolderDecoder> Archive::DecodeFolder(size_t index) {
  const auto& streams = database_.streams;
  const Folder& f = streams.folders.at(index);
  return std::make_unique<FolderDecoder>(in_, f, FolderPackOffsets(packOffsets_, f), FolderPackSizes(streams, f));
}

std::vector<uint64_t> Archive::PackOffsets(const StreamsInfo& streams, uint64_t fileSize) {
  std::vector<uint64_t> streamOffsets;
  uint64_t offset = kSignatureHeaderSize + streams.packPos;
  if (offset < streams.packPos || offset > fileSize) ThrowDamaged("packed streams outside the file");
  for (uint64_t size : streams.packSizes) {
    if (size > fileSize - offset) ThrowDamaged("packed stream outside the file");
    streamOffsets.push_back(offset);
    offset += size;
  }
  for (const auto& f : streams.folders)
    if (f.packedStreams.empty() || f.firstPackStream > streamOffsets.size() ||
        f.packedStreams.size() > streamOffsets.size() - f.firstPackStream)
      ThrowDamaged("missing packed stream");
  return streamOffsets;
}

}  // namespace sevenzip
