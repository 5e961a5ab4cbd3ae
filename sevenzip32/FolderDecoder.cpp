#include "FolderDecoder.h"

#include "ArchiveError.h"
#include "BcjX86Source.h"
#include "Lzma2Source.h"
#include "LzmaSource.h"
#include "PackStreamSource.h"

namespace sevenzip {
namespace {

constexpr uint64_t kMethodCopy = 0x00;
constexpr uint64_t kMethodLzma = 0x030101;
constexpr uint64_t kMethodLzma2 = 0x21;
constexpr uint64_t kMethodBcjX86 = 0x03030103;
constexpr uint64_t kMethodBcjX86Short = 0x04;

bool IsKnownMethod(uint64_t id) {
    return id == kMethodCopy || id == kMethodLzma || id == kMethodLzma2 || id == kMethodBcjX86 ||
           id == kMethodBcjX86Short;
}

// Coder indexes from the one producing the folder's output down to the one reading the
// packed stream. Every coder here has one input and one output, so stream index == coder index.
std::vector<size_t> CoderChain(const Folder& f) {
    for (const auto& c : f.coders)
        if (c.inStreams != 1 || c.outStreams != 1) ThrowUnsupported("multi-stream coder");
    if (f.packedStreams.size() != 1) ThrowUnsupported("several packed streams in one folder");
    std::vector<size_t> chain{size_t(f.MainOutStream())};
    while (chain.back() != f.packedStreams[0]) {
        const BindPair* next = nullptr;
        for (const auto& bp : f.bindPairs)
            if (bp.inIndex == chain.back()) next = &bp;
        if (!next || chain.size() >= f.coders.size()) ThrowDamaged("coders do not form a chain");
        chain.push_back(size_t(next->outIndex));
    }
    if (chain.size() != f.coders.size()) ThrowDamaged("unconnected coders");
    return chain;
}

}  // namespace

void CheckFolderSupported(const Folder& folder) {
    for (const auto& c : folder.coders)
        if (!IsKnownMethod(c.methodId)) ThrowUnsupported("unsupported method");
    CoderChain(folder);
}

FolderDecoder::FolderDecoder(InStream& in, const Folder& folder, uint64_t packOffset, uint64_t packSize) {
    CheckFolderSupported(folder);
    std::vector<size_t> chain = CoderChain(folder);
    chain_.push_back(std::make_unique<PackStreamSource>(in, packOffset, packSize));
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Coder& c = folder.coders[*it];
        uint64_t unpackSize = folder.unpackSizes[*it];
        ByteSource& input = *chain_.back();
        switch (c.methodId) {
        case kMethodCopy: continue;
        case kMethodLzma: chain_.push_back(std::make_unique<LzmaSource>(input, c.properties, unpackSize)); break;
        case kMethodLzma2: chain_.push_back(std::make_unique<Lzma2Source>(input, c.properties, unpackSize)); break;
        default: chain_.push_back(std::make_unique<BcjX86Source>(input)); break;
        }
    }
    top_ = chain_.back().get();
}

}  // namespace sevenzip
