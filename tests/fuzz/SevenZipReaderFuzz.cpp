// Opens fuzzed bytes as a 7z archive in memory, checks it as "SevenZipCheckArchive" does and
// extracts it the way the library does, into a sink instead of a folder: every file with its
// size and CRC, every folder to its end. The signature and both header CRCs are repaired
// first, so mutations reach the header parser and decoders instead of stopping at checksums.
#include <cstdint>
#include <cstring>
#include <exception>
#include <vector>

#include "Archive.h"
#include "ArchiveError.h"
#include "Crc32.h"
#include "Extractor.h"

namespace {

// Larger claims would only measure the fuzzer's patience.
constexpr uint64_t kMaxDecodedBytes = uint64_t(4) << 20;

void RepairChecksums(std::vector<uint8_t>& bytes) {
  static const uint8_t kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
  std::memcpy(bytes.data(), kSignature, sizeof kSignature);
  uint64_t offset = 0, size = 0;
  for (int i = 7; i >= 0; --i) {
    offset = offset << 8 | bytes[12 + i];
    size = size << 8 | bytes[20 + i];
  }
  if (offset < bytes.size() - 32 && size <= bytes.size() - 32 - offset) {
    uint32_t crc = sevenzip::Crc32(bytes.data() + 32 + offset, size_t(size));
    for (int i = 0; i < 4; ++i) bytes[28 + i] = uint8_t(crc >> (8 * i));
  }
  uint32_t crc = sevenzip::Crc32(bytes.data() + 12, 20);
  for (int i = 0; i < 4; ++i) bytes[8 + i] = uint8_t(crc >> (8 * i));
}

// Every coder's declared output, not only the folders' final ones.
uint64_t DeclaredOutput(const sevenzip::ArchiveDatabase& db) {
  uint64_t total = 0;
  for (const auto& f : db.streams.folders)
    for (uint64_t size : f.unpackSizes) {
      if (size > kMaxDecodedBytes - total) return kMaxDecodedBytes + 1;
      total += size;
    }
  return total;
}

class SinkTarget : public sevenzip::ExtractTarget {
 public:
  bool MakeFolder(const std::string&) override { return true; }
  bool CreateFile(const std::string&) override { return true; }
  bool Write(const uint8_t* data, size_t size) override {
    checksum_ = sevenzip::UpdateCrc32(checksum_, data, size);  // touches every byte
    return true;
  }
  bool FinishFile(const sevenzip::Entry&, bool) override { return true; }

 private:
  uint32_t checksum_ = 0;
};

class GoOn : public sevenzip::ExtractObserver {
 public:
  bool OnEntryStart(const sevenzip::ExtractProgress&) override { return true; }
  bool OnEntryWritten(const sevenzip::ExtractProgress&) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 32) return 0;
  std::vector<uint8_t> bytes(data, data + size);
  RepairChecksums(bytes);
  sevenzip::MemoryInStream in(bytes.data(), bytes.size());
  try {
    sevenzip::Archive archive(in);
    if (DeclaredOutput(archive.Database()) > kMaxDecodedBytes) return 0;
    SinkTarget sink;
    GoOn observer;
    sevenzip::ExtractAll(archive, sink, observer, u"unnamed");
  } catch (const sevenzip::ArchiveError&) {
  } catch (const std::exception&) {
  }
  return 0;
}
