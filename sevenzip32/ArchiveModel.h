#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sevenzip {

// One coder of a folder: method ID bytes as a number, its properties and stream counts.
struct Coder {
  uint64_t methodId = 0;
  std::vector<uint8_t> properties;
  uint32_t inStreams = 1;
  uint32_t outStreams = 1;
};

struct BindPair {
  uint64_t inIndex = 0;
  uint64_t outIndex = 0;
};

// A folder is one independently decodable unit (a solid block): coders wired by bind pairs,
// reading packed streams and producing one main output.
struct Folder {
  std::vector<Coder> coders;
  std::vector<BindPair> bindPairs;
  std::vector<uint64_t> packedStreams;  // folder in-stream index of each packed stream
  std::vector<uint64_t> unpackSizes;    // one per coder out-stream
  std::optional<uint32_t> crc;
  uint64_t firstPackStream = 0;  // index into StreamsInfo::packSizes
  uint64_t unpackStreams = 1;    // files stored one after another in the output

  uint64_t MainOutStream() const;
  uint64_t UnpackSize() const { return unpackSizes.at(MainOutStream()); }
};

// Where the packed streams are and how they decode into files.
struct StreamsInfo {
  uint64_t packPos = 0;  // relative to the end of the signature header
  std::vector<uint64_t> packSizes;
  std::vector<Folder> folders;
  std::vector<uint64_t> streamSizes;                // every file stream in order
  std::vector<std::optional<uint32_t>> streamCrcs;  // parallel to streamSizes
};

struct Entry {
  std::u16string name;
  bool hasStream = true;
  bool isDirectory = false;
  bool isAnti = false;
  uint64_t size = 0;
  std::optional<uint32_t> crc;
  std::optional<uint32_t> attributes;
  std::optional<uint64_t> modified;  // FILETIME: 100 ns units since 1601
};

struct ArchiveDatabase {
  StreamsInfo streams;
  std::vector<Entry> entries;
};

}  // namespace sevenzip
