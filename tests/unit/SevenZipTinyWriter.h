#pragma once
// Writes small 7z archives by hand (a plain header, one folder of chained coders) so tests
// can hold what no archiver would write: names leading out of the target folder, coders
// whose declared sizes lie, counts no header can hold.
#include <cstdint>
#include <string>
#include <vector>

#include "Crc32.h"
#include "TestFiles.h"

namespace sevenzip_test {

using testfiles::LittleEndian;

struct TinyEntry {
  std::u16string name;
  std::string data;
};

inline std::string Number(uint64_t value) {
  // Plain bytes below 0x80; else one leading-one byte and eight little-endian bytes.
  return value < 0x80 ? std::string(1, char(value)) : '\xFF' + LittleEndian(value, 8);
}

struct TinyCoder {
  std::string methodId, properties;
  uint64_t unpackSize;
};

// Coders in a chain: each reads the next one's output, the last reads the packed stream.
struct TinyFolder {
  std::vector<TinyCoder> coders;
  std::string packed;
};

inline TinyFolder CopyFolder(const std::string& packed) { return {{{{'\0'}, {}, packed.size()}}, packed}; }

// An LZMA2 stream of stored chunks, the first resetting the dictionary.
inline std::string StoredLzma2(const std::string& data) {
  std::string out;
  for (size_t at = 0; at < data.size(); at += 0x10000) {
    const size_t n = std::min<size_t>(data.size() - at, 0x10000);
    out += {char(at == 0 ? 0x01 : 0x02), char((n - 1) >> 8), char(n - 1)};
    out += data.substr(at, n);
  }
  return out + '\0';
}

// PackInfo and UnpackInfo of one folder whose packed stream starts at packPos.
inline std::string FolderStreams(uint64_t packPos, const TinyFolder& f) {
  std::string h = '\x06' + Number(packPos) + std::string{0x01, 0x09} + Number(f.packed.size());
  h += {0x00, 0x07, 0x0B, 0x01, 0x00};  // end; UnpackInfo: one folder, inline
  h += Number(f.coders.size());
  for (const auto& c : f.coders) {
    h += char(c.methodId.size() | (c.properties.empty() ? 0 : 0x20)) + c.methodId;
    if (!c.properties.empty()) h += Number(c.properties.size()) + c.properties;
  }
  for (size_t i = 1; i < f.coders.size(); ++i) h += Number(i - 1) + Number(i);  // coder i - 1 reads coder i
  h += '\x0C';
  for (const auto& c : f.coders) h += Number(c.unpackSize);
  return h + '\0';
}

inline std::string Crc32Of(const std::string& b) { return LittleEndian(sevenzip::Crc32(b.data(), b.size()), 4); }

// Signature header, packed bytes, then the header.
inline std::string WrapArchive(const std::string& packed, const std::string& header) {
  const std::string next = LittleEndian(packed.size(), 8) + LittleEndian(header.size(), 8) + Crc32Of(header);
  return std::string("7z\xBC\xAF\x27\x1C\x00\x04", 8) + Crc32Of(next) + next + packed + header;
}

// Every entry is a file with data, all in one folder (Copy unless given) with per-file CRCs.
inline std::string WriteTinyArchive(const std::vector<TinyEntry>& entries, const TinyFolder* folder = nullptr) {
  std::string data;
  for (const auto& e : entries) data += e.data;
  const TinyFolder copy = CopyFolder(data);
  const TinyFolder& f = folder ? *folder : copy;

  std::string h = std::string{0x01, 0x04} + FolderStreams(0, f);   // Header, MainStreamsInfo
  h += std::string{0x08, 0x0D} + Number(entries.size()) + '\x09';  // SubStreamsInfo: stream count, sizes
  for (size_t i = 0; i + 1 < entries.size(); ++i) h += Number(entries[i].data.size());
  h += {0x0A, 0x01};  // CRCs, all defined
  for (const auto& e : entries) h += Crc32Of(e.data);
  h += std::string{0x00, 0x00, 0x05} + Number(entries.size());  // end, end; FilesInfo
  std::string names(1, '\0');
  for (const auto& e : entries) {
    for (char16_t c : e.name + u'\0') names += LittleEndian(c, 2);
  }
  return WrapArchive(f.packed, h + '\x11' + Number(names.size()) + names + std::string(2, '\0'));
}

}  // namespace sevenzip_test
