#pragma once
// Writes small 7z archives by hand (a plain header, one folder of chained coders) so tests
// can hold what no archiver would write: names leading out of the target folder, coders
// whose declared sizes lie, counts no header can hold.
#include <cstdint>
#include <string>
#include <vector>

#include "Crc32.h"

namespace sevenzip_test {

struct TinyEntry {
    std::u16string name;
    std::string data;
};

using Bytes = std::vector<uint8_t>;

inline void PutNumber(Bytes& out, uint64_t value) {
    // Plain bytes below 0x80; else one leading-one byte and eight little-endian bytes.
    if (value < 0x80) {
        out.push_back(uint8_t(value));
        return;
    }
    out.push_back(0xFF);
    for (int i = 0; i < 8; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

inline void PutLittleEndian(Bytes& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

struct TinyCoder {
    Bytes methodId;
    Bytes properties;
    uint64_t unpackSize;
};

// Coders in a chain: each reads the next one's output, the last reads the packed stream.
struct TinyFolder {
    std::vector<TinyCoder> coders;
    std::string packed;
};

inline TinyFolder CopyFolder(const std::string& packed) { return {{{{0x00}, {}, packed.size()}}, packed}; }

// An LZMA2 stream of stored chunks, the first resetting the dictionary.
inline std::string StoredLzma2(const std::string& data) {
    std::string out;
    for (size_t at = 0; at < data.size(); at += 0x10000) {
        size_t n = data.size() - at < 0x10000 ? data.size() - at : 0x10000;
        out += char(at == 0 ? 0x01 : 0x02);
        out += char((n - 1) >> 8);
        out += char(n - 1);
        out += data.substr(at, n);
    }
    return out + '\0';
}

// PackInfo and UnpackInfo of one folder whose packed stream starts at packPos.
inline void PutFolderStreams(Bytes& h, uint64_t packPos, const TinyFolder& f) {
    h.push_back(0x06);
    PutNumber(h, packPos);
    h.insert(h.end(), {0x01, 0x09});
    PutNumber(h, f.packed.size());
    h.insert(h.end(), {0x00, 0x07, 0x0B, 0x01, 0x00});  // end; UnpackInfo: one folder, inline
    PutNumber(h, f.coders.size());
    for (const auto& c : f.coders) {
        h.push_back(uint8_t(c.methodId.size() | (c.properties.empty() ? 0 : 0x20)));
        h.insert(h.end(), c.methodId.begin(), c.methodId.end());
        if (!c.properties.empty()) {
            PutNumber(h, c.properties.size());
            h.insert(h.end(), c.properties.begin(), c.properties.end());
        }
    }
    for (size_t i = 1; i < f.coders.size(); ++i) {  // coder i - 1's input is coder i's output
        PutNumber(h, i - 1);
        PutNumber(h, i);
    }
    h.push_back(0x0C);
    for (const auto& c : f.coders) PutNumber(h, c.unpackSize);
    h.push_back(0x00);
}

// Signature header, packed bytes, then the header.
inline Bytes WrapArchive(const std::string& packed, const Bytes& header) {
    Bytes next;
    PutLittleEndian(next, packed.size(), 8);
    PutLittleEndian(next, header.size(), 8);
    PutLittleEndian(next, sevenzip::Crc32(header.data(), header.size()), 4);
    Bytes archive{'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0x00, 0x04};
    PutLittleEndian(archive, sevenzip::Crc32(next.data(), next.size()), 4);
    archive.insert(archive.end(), next.begin(), next.end());
    archive.insert(archive.end(), packed.begin(), packed.end());
    archive.insert(archive.end(), header.begin(), header.end());
    return archive;
}

// Every entry is a file with data, all in one folder (Copy unless given) with per-file CRCs.
inline Bytes WriteTinyArchive(const std::vector<TinyEntry>& entries, const TinyFolder* folder = nullptr) {
    std::string data;
    for (const auto& e : entries) data += e.data;
    TinyFolder copy = CopyFolder(data);
    const TinyFolder& f = folder ? *folder : copy;

    Bytes h{0x01, 0x04};  // Header, MainStreamsInfo
    PutFolderStreams(h, 0, f);
    h.insert(h.end(), {0x08, 0x0D});  // SubStreamsInfo: stream count
    PutNumber(h, entries.size());
    h.push_back(0x09);
    for (size_t i = 0; i + 1 < entries.size(); ++i) PutNumber(h, entries[i].data.size());
    h.insert(h.end(), {0x0A, 0x01});  // CRCs, all defined
    for (const auto& e : entries) PutLittleEndian(h, sevenzip::Crc32(e.data.data(), e.data.size()), 4);
    h.insert(h.end(), {0x00, 0x00, 0x05});  // end, end; FilesInfo
    PutNumber(h, entries.size());
    Bytes names{0x00};
    for (const auto& e : entries) {
        for (char16_t c : e.name) names.insert(names.end(), {uint8_t(c), uint8_t(c >> 8)});
        names.insert(names.end(), {0, 0});
    }
    h.push_back(0x11);
    PutNumber(h, names.size());
    h.insert(h.end(), names.begin(), names.end());
    h.insert(h.end(), {0x00, 0x00});
    return WrapArchive(f.packed, h);
}

}  // namespace sevenzip_test
