#include "support/PeCertificateTable.h"

namespace {

constexpr std::uint64_t kPeOffsetField = 0x3C;
constexpr std::uint64_t kCoffHeaderSize = 20;
constexpr std::uint64_t kChecksumField = 64;  // in the optional header, PE32 and PE32+ alike
constexpr std::uint32_t kSecurityEntry = 4;
constexpr std::uint64_t kDirectoryEntrySize = 8;
constexpr std::uint64_t kCertificateHeaderSize = 8;  // WIN_CERTIFICATE's length, revision and type

// Little-endian fields; the caller has checked that they lie within the bytes.
std::uint32_t Read16(std::string_view bytes, std::uint64_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}
std::uint32_t Read32(std::string_view bytes, std::uint64_t at) {
  return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

bool Fits(std::string_view bytes, std::uint64_t at, std::uint64_t size) {
  return at <= bytes.size() && size <= bytes.size() - at;
}

}  // namespace

PeCertificateTable FindCertificateTable(std::string_view image) {
  PeCertificateTable table;
  if (!Fits(image, 0, kPeOffsetField + 4) || image.substr(0, 2) != "MZ") return table;
  const std::uint64_t pe = Read32(image, kPeOffsetField);
  if (!Fits(image, pe, 4 + kCoffHeaderSize + 2) || image.substr(pe, 4) != std::string_view("PE\0\0", 4)) return table;
  const std::uint64_t optional = pe + 4 + kCoffHeaderSize;
  const std::uint64_t optionalSize = Read16(image, pe + 4 + 16);
  std::uint64_t directories = 0;
  switch (Read16(image, optional)) {
    case 0x10B: directories = 96; break;   // PE32
    case 0x20B: directories = 112; break;  // PE32+
    default: return table;
  }
  if (optionalSize < directories || !Fits(image, optional, optionalSize)) return table;

  table.state = PeCertificateTable::State::Absent;
  table.checksumOffset = optional + kChecksumField;
  const std::uint64_t entry = directories + kSecurityEntry * kDirectoryEntrySize;
  if (Read32(image, optional + directories - 4) <= kSecurityEntry || entry + kDirectoryEntrySize > optionalSize) {
    return table;
  }
  table.entryOffset = optional + entry;
  const std::uint64_t offset = Read32(image, table.entryOffset), size = Read32(image, table.entryOffset + 4);
  if (offset == 0 && size == 0) return table;
  const bool endsTheFile = offset + size == image.size();
  table.state = offset >= optional + optionalSize && size >= kCertificateHeaderSize && endsTheFile
                    ? PeCertificateTable::State::Present
                    : PeCertificateTable::State::Damaged;
  table.tableOffset = offset;
  return table;
}

void CutCertificateTable(std::string& image, const PeCertificateTable& table) {
  if (table.state != PeCertificateTable::State::Present) return;
  image.resize(table.tableOffset);
  image.replace(table.entryOffset, kDirectoryEntrySize, kDirectoryEntrySize, '\0');
}

std::uint32_t PeChecksum(std::string_view image, std::uint64_t checksumOffset) {
  std::uint64_t sum = 0;
  for (std::uint64_t at = 0; at < image.size(); at += 2) {
    if (at >= checksumOffset && at < checksumOffset + 4) continue;
    const std::uint32_t word = at + 1 < image.size() ? Read16(image, at) : static_cast<unsigned char>(image[at]);
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<std::uint32_t>(((sum & 0xFFFF) + (sum >> 16)) + image.size());
}

void StorePeChecksum(std::string& image, std::uint64_t checksumOffset) {
  const std::uint32_t checksum = PeChecksum(image, checksumOffset);
  for (int i = 0; i < 4; ++i) image[checksumOffset + i] = static_cast<char>(checksum >> (8 * i));
}
