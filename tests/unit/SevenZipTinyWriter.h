#pragma once
// Writes small 7z archives by hand (one Copy folder, a plain header) so tests can hold
// entries that no archiver would write, such as names leading out of the target folder.
#include <cstdint>
#include <string>
#include <vector>

#include "Crc32.h"

namespace sevenzip_test {

struct TinyEntry {
    std::u16string name;
    std::string data;
};

inline void PutNumber(std::vector<uint8_t>& out, uint64_t value) {
    // Plain bytes below 0x80; else one leading-one byte and eight little-endian bytes.
    if (value < 0x80) {
        out.push_back(uint8_t(value));
        return;
    }
    out.push_back(0xFF);
    for (int i = 0; i < 8; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

inline void PutUInt32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

inline void PutUInt64(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// Every entry is a file with data, all in one Copy folder with per-file CRCs; another
// one-byte method ID makes a folder whose coder the reader may not know.
inline std::vector<uint8_t> WriteTinyArchive(const std::vector<TinyEntry>& entries, uint8_t methodId = 0x00) {
    std::string packed;
    for (const auto& e : entries) packed += e.data;

    std::vector<uint8_t> h{0x01, 0x04};                  // Header, MainStreamsInfo
    h.insert(h.end(), {0x06, 0x00, 0x01, 0x09});         // PackInfo: pos 0, one stream, sizes
    PutNumber(h, packed.size());
    h.insert(h.end(), {0x00, 0x07, 0x0B, 0x01, 0x00});  // end; UnpackInfo: one folder, inline
    h.insert(h.end(), {0x01, 0x01, methodId, 0x0C});    // one coder; unpack sizes
    PutNumber(h, packed.size());
    h.insert(h.end(), {0x00, 0x08, 0x0D});              // end; SubStreamsInfo: stream count
    PutNumber(h, entries.size());
    h.push_back(0x09);
    for (size_t i = 0; i + 1 < entries.size(); ++i) PutNumber(h, entries[i].data.size());
    h.insert(h.end(), {0x0A, 0x01});                    // CRCs, all defined
    for (const auto& e : entries) PutUInt32(h, sevenzip::Crc32(e.data.data(), e.data.size()));
    h.insert(h.end(), {0x00, 0x00, 0x05});              // end, end; FilesInfo
    PutNumber(h, entries.size());
    std::vector<uint8_t> names{0x00};
    for (const auto& e : entries) {
        for (char16_t c : e.name) names.insert(names.end(), {uint8_t(c), uint8_t(c >> 8)});
        names.insert(names.end(), {0, 0});
    }
    h.push_back(0x11);
    PutNumber(h, names.size());
    h.insert(h.end(), names.begin(), names.end());
    h.insert(h.end(), {0x00, 0x00});

    std::vector<uint8_t> next;
    PutUInt64(next, packed.size());
    PutUInt64(next, h.size());
    PutUInt32(next, sevenzip::Crc32(h.data(), h.size()));
    std::vector<uint8_t> archive{'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0x00, 0x04};
    PutUInt32(archive, sevenzip::Crc32(next.data(), next.size()));
    archive.insert(archive.end(), next.begin(), next.end());
    archive.insert(archive.end(), packed.begin(), packed.end());
    archive.insert(archive.end(), h.begin(), h.end());
    return archive;
}

}  // namespace sevenzip_test
