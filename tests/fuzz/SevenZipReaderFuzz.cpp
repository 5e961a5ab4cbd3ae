// Opens fuzzed bytes as a 7z archive in memory and decodes every folder. The signature and
// both header CRCs are repaired first, so mutations reach the header parser and decoders
// instead of stopping at the checksums.
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "Archive.h"
#include "ArchiveError.h"
#include "Crc32.h"
#include "Extractor.h"

namespace {

// Larger claims would only measure the fuzzer's patience.
constexpr uint64_t kMaxDecodedBytes = uint64_t(64) << 20;

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 32) return 0;
    std::vector<uint8_t> bytes(data, data + size);
    RepairChecksums(bytes);
    sevenzip::MemoryInStream in(bytes.data(), bytes.size());
    try {
        sevenzip::Archive archive(in);
        sevenzip::AllPathsSafe(archive.Database());
        const auto& folders = archive.Database().streams.folders;
        uint64_t total = 0;
        for (const auto& f : folders) {
            if (f.UnpackSize() > kMaxDecodedBytes) return 0;
            total += f.UnpackSize();
        }
        if (total > kMaxDecodedBytes) return 0;
        std::vector<uint8_t> buffer(1 << 16);
        for (size_t i = 0; i < folders.size(); ++i) {
            auto decoder = archive.DecodeFolder(i);
            for (uint64_t left = folders[i].UnpackSize(); left > 0;) {
                size_t want = left < buffer.size() ? size_t(left) : buffer.size();
                size_t n = decoder->Read(buffer.data(), want);
                if (n == 0) break;
                left -= n;
            }
        }
    } catch (const sevenzip::ArchiveError&) {
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
