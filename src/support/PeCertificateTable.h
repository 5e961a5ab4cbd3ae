#pragma once
// The Authenticode certificate table of a PE file: the security entry of the optional
// header's data directory gives its file offset and size, and it ends the file. A signature
// covers every byte except the checksum, that entry and the table itself.

#include <cstdint>
#include <string>
#include <string_view>

struct PeCertificateTable {
  enum class State {
    NotPe,    // no PE headers within the bytes: nothing a signature could cover
    Absent,   // a PE file with an empty security entry
    Present,  // the entry names a table after the headers that ends the file
    Damaged,  // the entry names anything else: outside the file, overlapping, not at its end
  };
  State state = State::NotPe;
  // Offsets in the file, known from Absent on.
  std::uint64_t checksumOffset = 0;
  std::uint64_t entryOffset = 0;
  // Present only.
  std::uint64_t tableOffset = 0;
};

// Reads only within the bytes, whatever their headers claim.
PeCertificateTable FindCertificateTable(std::string_view image);

// Cuts a Present table off and clears the entry; the checksum is left to StorePeChecksum,
// once every other byte is final.
void CutCertificateTable(std::string& image, const PeCertificateTable& table);

// The PE checksum of the image: its 16-bit words summed with carries folded back, the
// checksum field left out, plus the file length.
std::uint32_t PeChecksum(std::string_view image, std::uint64_t checksumOffset);
void StorePeChecksum(std::string& image, std::uint64_t checksumOffset);
