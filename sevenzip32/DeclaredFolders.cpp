#include "DeclaredFolders.h"

#include "ArchiveError.h"
#include "CoderMethods.h"
#include "Crc32.h"
#include "FolderDecoder.h"
#include "HeaderParser.h"

namespace sevenzip {
namespace {

constexpr uint64_t kStartHeaderSize = 32;
// As far as the reader follows headers: size and nesting.
constexpr uint64_t kMaxHeaderSize = uint64_t(1) << 28;
constexpr int kMaxHeaderNesting = 4;

uint64_t LoadLittleEndian(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}

std::vector<uint8_t> ReadRange(InStream& in, uint64_t offset, uint64_t size) {
    if (offset > in.Size() || size > in.Size() - offset || size > kMaxHeaderSize) ThrowDamaged("header outside the file");
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    for (size_t done = 0; done < bytes.size();) {
        size_t n = in.ReadAt(offset + done, bytes.data() + done, bytes.size() - done);
        if (n == 0) ThrowDamaged("archive ends early");
        done += n;
    }
    return bytes;
}

bool Decodable(const Folder& folder) {
    for (const Coder& c : folder.coders) {
        const CoderMethod* m = FindCoderMethod(c.methodId);
        if (!m || !m->make) return false;
    }
    return true;
}

std::vector<uint8_t> UnpackHeader(InStream& in, const StreamsInfo& streams) {
    const Folder& folder = streams.folders[0];
    if (folder.firstPackStream != 0 || folder.packedStreams.size() > streams.packSizes.size())
        ThrowDamaged("missing packed stream");
    std::vector<uint64_t> offsets, sizes;
    uint64_t offset = kStartHeaderSize + streams.packPos;
    for (size_t i = 0; i < folder.packedStreams.size(); ++i) {
        if (offset < streams.packPos || offset > in.Size() || streams.packSizes[i] > in.Size() - offset)
            ThrowDamaged("packed stream outside the file");
        offsets.push_back(offset);
        sizes.push_back(streams.packSizes[i]);
        offset += streams.packSizes[i];
    }
    uint64_t size = folder.UnpackSize();
    if (size == 0 || size > kMaxHeaderSize) ThrowDamaged("packed header size");
    FolderDecoder decoder(in, folder, offsets, sizes);
    std::vector<uint8_t> header(static_cast<size_t>(size));
    if (decoder.Read(header.data(), header.size()) != header.size()) ThrowDamaged("packed header ends early");
    return header;
}

}  // namespace

std::vector<Folder> DeclaredFolders(InStream& in) {
    std::vector<uint8_t> start = ReadRange(in, 0, kStartHeaderSize);
    uint64_t nextOffset = LoadLittleEndian(&start[12], 8);
    if (nextOffset > in.Size()) ThrowDamaged("header outside the file");
    std::vector<uint8_t> header = ReadRange(in, kStartHeaderSize + nextOffset, LoadLittleEndian(&start[20], 8));
    if (Crc32(header.data(), header.size()) != LoadLittleEndian(&start[28], 4)) ThrowDamaged("header CRC");
    for (int depth = 0; depth <= kMaxHeaderNesting; ++depth) {
        ArchiveDatabase database;
        if (ParseHeader(header.data(), header.size(), database) == HeaderKind::Plain) return database.streams.folders;
        const auto& folders = database.streams.folders;
        if (folders.size() != 1) ThrowDamaged("packed header needs one folder");
        if (!Decodable(folders[0])) return folders;
        header = UnpackHeader(in, database.streams);
    }
    ThrowUnsupported("header nesting");
}

}  // namespace sevenzip
