#include "EntryDecoding.h"

#include <memory>
#include <vector>

#include "ArchiveError.h"
#include "Crc32.h"

namespace sevenzip {
namespace {

constexpr size_t kChunkSize = 1 << 18;

}  // namespace

void DecodeAllEntries(Archive& archive, const std::function<void(const Entry&)>& onEntry) {
    const auto& folders = archive.Database().streams.folders;
    std::vector<uint8_t> buffer(kChunkSize);
    std::unique_ptr<FolderDecoder> folder;
    size_t nextFolder = 0;
    uint64_t streamsLeft = 0;
    for (const Entry& e : archive.Database().entries) {
        if (e.isAnti) continue;
        onEntry(e);
        if (e.isDirectory || !e.hasStream) continue;
        while (streamsLeft == 0) {
            if (nextFolder >= folders.size()) ThrowDamaged("more files than folders hold");
            folder = archive.DecodeFolder(nextFolder);
            streamsLeft = folders[nextFolder++].unpackStreams;
        }
        --streamsLeft;
        uint32_t crc = 0;
        for (uint64_t done = 0; done < e.size;) {
            size_t want = e.size - done < buffer.size() ? size_t(e.size - done) : buffer.size();
            if (folder->Read(buffer.data(), want) != want) ThrowDamaged("data ends early");
            crc = UpdateCrc32(crc, buffer.data(), want);
            done += want;
        }
        if (e.crc && crc != *e.crc) ThrowDamaged("data CRC");
    }
}

}  // namespace sevenzip
