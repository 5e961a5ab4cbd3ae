#include "HeaderParser.h"

#include "ArchiveError.h"

namespace sevenzip {
namespace {

enum PropertyId : uint8_t {
  kEnd = 0x00,
  kHeader = 0x01,
  kArchiveProperties = 0x02,
  kAdditionalStreamsInfo = 0x03,
  kMainStreamsInfo = 0x04,
  kFilesInfo = 0x05,
  kPackInfo = 0x06,
  kUnpackInfo = 0x07,
  kSubStreamsInfo = 0x08,
  kSize = 0x09,
  kCrc = 0x0A,
  kFolder = 0x0B,
  kCodersUnpackSize = 0x0C,
  kNumUnpackStream = 0x0D,
  kEmptyStream = 0x0E,
  kEmptyFile = 0x0F,
  kAnti = 0x10,
  kName = 0x11,
  kMTime = 0x14,
  kWinAttributes = 0x15,
  kEncodedHeader = 0x17,
};

// More coders or bind pairs than this in one folder is no archive anyone writes.
constexpr uint64_t kMaxCodersPerFolder = 64;
// What the parsed tables of one header may take; a million entries with their names take
// less than half of it.
constexpr uint64_t kMaxDatabaseMemory = uint64_t(1) << 28;

// Memory the tables parsed so far take, charged before each one is allocated.
class MemoryBudget {
 public:
  void Charge(uint64_t count, uint64_t itemSize) {
    if (count > (kMaxDatabaseMemory - used_) / itemSize) ThrowUnsupported("header needs too much memory");
    used_ += count * itemSize;
  }

 private:
  uint64_t used_ = 0;
};

// Bounds-checked cursor over header bytes; any read past the end means a damaged header.
class HeaderReader {
 public:
  HeaderReader(const uint8_t* data, size_t size, MemoryBudget& budget) : p_(data), end_(data + size), budget_(budget) {}

  size_t Remaining() const { return size_t(end_ - p_); }
  const uint8_t* Position() const { return p_; }

  uint8_t ReadByte() {
    Need(1);
    return *p_++;
  }
  const uint8_t* Skip(uint64_t size) {
    Need(size);
    const uint8_t* start = p_;
    p_ += size;
    return start;
  }
  uint32_t ReadUInt32() {
    const uint8_t* b = Skip(4);
    return b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
  }
  uint64_t ReadUInt64() {
    uint64_t lo = ReadUInt32();
    return lo | uint64_t(ReadUInt32()) << 32;
  }
  // 7z's variable-length number: the leading one bits of the first byte count extra bytes.
  uint64_t ReadNumber() {
    uint8_t first = ReadByte();
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
      uint8_t mask = uint8_t(0x80 >> i);
      if (!(first & mask)) return value | (uint64_t(first & (mask - 1)) << (8 * i));
      value |= uint64_t(ReadByte()) << (8 * i);
    }
    return value;
  }
  // A count of items that each take at least one more header byte and itemSize bytes of
  // memory, checked against both before anything is allocated for them.
  uint64_t ReadCount(uint64_t itemSize) {
    uint64_t n = ReadNumber();
    if (n > Remaining()) ThrowDamaged("count larger than the header");
    budget_.Charge(n, itemSize);
    return n;
  }
  // The next size bytes, read by a cursor of their own.
  HeaderReader Part(uint64_t size) {
    const uint8_t* start = Skip(size);
    return HeaderReader(start, size_t(size), budget_);
  }
  MemoryBudget& Budget() { return budget_; }
  std::vector<bool> ReadBits(size_t count) {
    std::vector<bool> bits(count);
    uint8_t byte = 0;
    for (size_t i = 0; i < count; ++i) {
      if (i % 8 == 0) byte = ReadByte();
      bits[i] = (byte & (0x80 >> (i % 8))) != 0;
    }
    return bits;
  }
  std::vector<bool> ReadOptionalBits(size_t count) {
    if (ReadByte() != 0) return std::vector<bool>(count, true);
    return ReadBits(count);
  }
  void Expect(uint8_t id) {
    if (ReadByte() != id) ThrowDamaged("unexpected header property");
  }

 private:
  void Need(uint64_t size) const {
    if (size > Remaining()) ThrowDamaged("header ends early");
  }
  const uint8_t* p_;
  const uint8_t* end_;
  MemoryBudget& budget_;
};

std::vector<std::optional<uint32_t>> ReadDigests(HeaderReader& r, size_t count) {
  r.Budget().Charge(count, sizeof(std::optional<uint32_t>) + 1);
  std::vector<bool> defined = r.ReadOptionalBits(count);
  std::vector<std::optional<uint32_t>> crcs(count);
  for (size_t i = 0; i < count; ++i)
    if (defined[i]) crcs[i] = r.ReadUInt32();
  return crcs;
}

void ReadPackInfo(HeaderReader& r, StreamsInfo& s) {
  s.packPos = r.ReadNumber();
  s.packSizes.resize(r.ReadCount(sizeof(uint64_t)));
  uint8_t id = r.ReadByte();
  if (id == kSize) {
    for (auto& size : s.packSizes) size = r.ReadNumber();
    id = r.ReadByte();
  }
  if (id == kCrc) {
    ReadDigests(r, s.packSizes.size());  // packed-stream CRCs: the unpacked CRCs cover the data
    id = r.ReadByte();
  }
  if (id != kEnd) ThrowDamaged("bad pack info");
}

Folder ReadFolder(HeaderReader& r) {
  Folder f;
  uint64_t numCoders = r.ReadNumber();
  if (numCoders == 0 || numCoders > kMaxCodersPerFolder) ThrowUnsupported("coder count");
  uint64_t totalIn = 0, totalOut = 0;
  r.Budget().Charge(numCoders, sizeof(Coder));
  for (uint64_t i = 0; i < numCoders; ++i) {
    Coder c;
    uint8_t flags = r.ReadByte();
    if (flags & 0xC0) ThrowUnsupported("alternative coder methods");
    unsigned idSize = flags & 0x0F;
    if (idSize > 8) ThrowUnsupported("method ID too long");
    const uint8_t* id = r.Skip(idSize);
    for (unsigned k = 0; k < idSize; ++k) c.methodId = c.methodId << 8 | id[k];
    if (flags & 0x10) {
      uint64_t in = r.ReadNumber(), out = r.ReadNumber();
      if (in > kMaxCodersPerFolder || out > kMaxCodersPerFolder) ThrowUnsupported("coder streams");
      c.inStreams = uint32_t(in);
      c.outStreams = uint32_t(out);
    }
    if (flags & 0x20) {
      uint64_t size = r.ReadCount(1);
      const uint8_t* props = r.Skip(size);
      c.properties.assign(props, props + size);
    }
    totalIn += c.inStreams;
    totalOut += c.outStreams;
    f.coders.push_back(std::move(c));
  }
  if (totalOut == 0 || totalIn < totalOut - 1) ThrowDamaged("coder streams do not connect");
  r.Budget().Charge(totalIn + totalOut, sizeof(BindPair) + 2 * sizeof(uint64_t));
  f.bindPairs.resize(totalOut - 1);
  for (auto& bp : f.bindPairs) {
    bp.inIndex = r.ReadNumber();
    bp.outIndex = r.ReadNumber();
    if (bp.inIndex >= totalIn || bp.outIndex >= totalOut) ThrowDamaged("bind pair out of range");
  }
  uint64_t numPacked = totalIn - f.bindPairs.size();
  if (numPacked == 1) {
    for (uint64_t i = 0; i < totalIn; ++i) {
      bool bound = false;
      for (const auto& bp : f.bindPairs) bound |= bp.inIndex == i;
      if (!bound) {
        f.packedStreams.push_back(i);
        break;
      }
    }
    if (f.packedStreams.empty()) ThrowDamaged("no packed stream");
  } else {
    for (uint64_t i = 0; i < numPacked; ++i) {
      f.packedStreams.push_back(r.ReadNumber());
      if (f.packedStreams.back() >= totalIn) ThrowDamaged("packed stream out of range");
    }
  }
  f.unpackSizes.resize(totalOut);
  return f;
}

void ReadUnpackInfo(HeaderReader& r, StreamsInfo& s) {
  r.Expect(kFolder);
  s.folders.resize(r.ReadCount(sizeof(Folder)));
  if (r.ReadByte() != 0) ThrowUnsupported("external folders");
  uint64_t packIndex = 0;
  for (auto& f : s.folders) {
    f = ReadFolder(r);
    f.firstPackStream = packIndex;
    packIndex += f.packedStreams.size();
  }
  if (packIndex > s.packSizes.size()) ThrowDamaged("folders need more packed streams than exist");
  r.Expect(kCodersUnpackSize);
  for (auto& f : s.folders)
    for (auto& size : f.unpackSizes) size = r.ReadNumber();
  uint8_t id = r.ReadByte();
  if (id == kCrc) {
    auto crcs = ReadDigests(r, s.folders.size());
    for (size_t i = 0; i < crcs.size(); ++i) s.folders[i].crc = crcs[i];
    id = r.ReadByte();
  }
  if (id != kEnd) ThrowDamaged("bad unpack info");
}

void ReadSubStreamsInfo(HeaderReader& r, StreamsInfo& s) {
  uint8_t id = r.ReadByte();
  if (id == kNumUnpackStream) {
    for (auto& f : s.folders) f.unpackStreams = r.ReadNumber();
    id = r.ReadByte();
  }
  // Each stream but a folder's last needs a size in the header.
  uint64_t total = 0, limit = r.Remaining() + s.folders.size();
  for (const auto& f : s.folders) {
    if (f.unpackStreams > limit - total) ThrowDamaged("too many streams");
    total += f.unpackStreams;
  }
  r.Budget().Charge(total, sizeof(uint64_t) + sizeof(std::optional<uint32_t>));
  bool haveSizes = id == kSize;
  for (const auto& f : s.folders) {
    if (f.unpackStreams == 0) continue;
    uint64_t sum = 0;
    for (uint64_t i = 1; i < f.unpackStreams; ++i) {
      uint64_t size = haveSizes ? r.ReadNumber() : 0;
      if (!haveSizes) ThrowDamaged("stream sizes missing");
      sum += size;
      if (sum < size || sum > f.UnpackSize()) ThrowDamaged("stream sizes exceed the folder");
      s.streamSizes.push_back(size);
    }
    s.streamSizes.push_back(f.UnpackSize() - sum);
  }
  if (haveSizes) id = r.ReadByte();

  // CRCs of streams the folder CRC does not already cover.
  s.streamCrcs.assign(s.streamSizes.size(), std::nullopt);
  size_t unknown = 0;
  for (const auto& f : s.folders)
    if (!(f.unpackStreams == 1 && f.crc)) unknown += f.unpackStreams;
  std::vector<std::optional<uint32_t>> digests;
  while (id != kEnd) {
    if (id == kCrc) {
      digests = ReadDigests(r, unknown);
    } else {
      r.Skip(r.ReadNumber());
    }
    id = r.ReadByte();
  }
  size_t stream = 0, digest = 0;
  for (const auto& f : s.folders) {
    if (f.unpackStreams == 1 && f.crc) {
      s.streamCrcs[stream++] = f.crc;
      continue;
    }
    for (uint64_t i = 0; i < f.unpackStreams; ++i, ++stream, ++digest)
      if (digest < digests.size()) s.streamCrcs[stream] = digests[digest];
  }
}

void ReadStreamsInfo(HeaderReader& r, StreamsInfo& s) {
  uint8_t id = r.ReadByte();
  if (id == kPackInfo) {
    ReadPackInfo(r, s);
    id = r.ReadByte();
  }
  if (id == kUnpackInfo) {
    ReadUnpackInfo(r, s);
    id = r.ReadByte();
  }
  if (id == kSubStreamsInfo) {
    ReadSubStreamsInfo(r, s);
    id = r.ReadByte();
  } else {
    for (const auto& f : s.folders) {
      s.streamSizes.push_back(f.UnpackSize());
      s.streamCrcs.push_back(f.crc);
    }
  }
  if (id != kEnd) ThrowDamaged("bad streams info");
}

std::u16string ReadName(HeaderReader& r) {
  std::u16string name;
  for (;;) {
    char16_t c = char16_t(r.ReadByte());
    c = char16_t(c | r.ReadByte() << 8);
    if (c == 0) return name;
    name.push_back(c);
  }
}

// A value for each entry the leading bit list marks, stored in the header itself.
template <typename ReadValue>
void ReadDefinedValues(HeaderReader& prop, size_t count, const char* external, ReadValue readValue) {
  std::vector<bool> defined = prop.ReadOptionalBits(count);
  if (prop.ReadByte() != 0) ThrowUnsupported(external);
  for (size_t i = 0; i < count; ++i)
    if (defined[i]) readValue(i);
}

void ReadFilesInfo(HeaderReader& r, ArchiveDatabase& db) {
  auto& entries = db.entries;
  entries.resize(r.ReadCount(sizeof(Entry)));
  std::vector<bool> emptyStream(entries.size()), emptyFile, anti;
  size_t numEmpty = 0;
  for (;;) {
    uint8_t id = r.ReadByte();
    if (id == kEnd) break;
    HeaderReader prop = r.Part(r.ReadNumber());
    switch (id) {
      case kEmptyStream:
        emptyStream = prop.ReadBits(entries.size());
        numEmpty = 0;
        for (bool b : emptyStream) numEmpty += b;
        emptyFile.assign(numEmpty, false);
        anti.assign(numEmpty, false);
        break;
      case kEmptyFile: emptyFile = prop.ReadBits(numEmpty); break;
      case kAnti: anti = prop.ReadBits(numEmpty); break;
      case kName:
        if (prop.ReadByte() != 0) ThrowUnsupported("external names");
        prop.Budget().Charge(prop.Remaining(), 1);  // the names' characters
        for (auto& e : entries) e.name = ReadName(prop);
        break;
      case kMTime:
        ReadDefinedValues(prop, entries.size(), "external times",
                          [&](size_t i) { entries[i].modified = prop.ReadUInt64(); });
        break;
      case kWinAttributes:
        ReadDefinedValues(prop, entries.size(), "external attributes",
                          [&](size_t i) { entries[i].attributes = prop.ReadUInt32(); });
        break;
      default: break;  // creation/access times, start positions, padding: not needed
    }
  }
  emptyFile.resize(numEmpty);
  anti.resize(numEmpty);

  size_t stream = 0, empty = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    Entry& e = entries[i];
    if (emptyStream[i]) {
      e.hasStream = false;
      e.isDirectory = !emptyFile[empty];
      e.isAnti = anti[empty];
      ++empty;
      continue;
    }
    if (stream >= db.streams.streamSizes.size()) ThrowDamaged("more files than streams");
    e.size = db.streams.streamSizes[stream];
    e.crc = db.streams.streamCrcs[stream];
    ++stream;
  }
  if (stream != db.streams.streamSizes.size()) ThrowDamaged("streams without files");
}

}  // namespace

uint64_t Folder::MainOutStream() const {
  for (uint64_t i = 0; i < unpackSizes.size(); ++i) {
    bool bound = false;
    for (const auto& bp : bindPairs) bound |= bp.outIndex == i;
    if (!bound) return i;
  }
  ThrowDamaged("folder has no main output");
}

HeaderKind ParseHeader(const uint8_t* data, size_t size, ArchiveDatabase& db) {
  MemoryBudget budget;
  HeaderReader r(data, size, budget);
  uint8_t id = r.ReadByte();
  if (id == kEncodedHeader) {
    ReadStreamsInfo(r, db.streams);
    return HeaderKind::Encoded;
  }
  if (id != kHeader) ThrowDamaged("not a header");
  id = r.ReadByte();
  if (id == kArchiveProperties) {
    for (uint8_t type = r.ReadByte(); type != kEnd; type = r.ReadByte()) r.Skip(r.ReadNumber());
    id = r.ReadByte();
  }
  if (id == kAdditionalStreamsInfo) ThrowUnsupported("additional streams");
  if (id == kMainStreamsInfo) {
    ReadStreamsInfo(r, db.streams);
    id = r.ReadByte();
  }
  if (id == kFilesInfo) {
    ReadFilesInfo(r, db);
    id = r.ReadByte();
  } else if (!db.streams.streamSizes.empty()) {
    ThrowDamaged("streams without files");
  }
  if (id != kEnd) ThrowDamaged("bad header end");
  return HeaderKind::Plain;
}

}  // namespace sevenzip
