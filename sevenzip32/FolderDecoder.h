#pragma once
#include <memory>
#include <vector>

#include "ArchiveModel.h"
#include "ByteSource.h"
#include "InStream.h"

namespace sevenzip {

// The decoded output of one folder: the packed stream run through the folder's coder chain.
class FolderDecoder : public ByteSource {
public:
    // packOffset: archive offset of the folder's packed stream.
    FolderDecoder(InStream& in, const Folder& folder, uint64_t packOffset, uint64_t packSize);
    size_t Read(uint8_t* dest, size_t size) override { return top_->Read(dest, size); }

private:
    std::vector<std::unique_ptr<ByteSource>> chain_;  // packed stream first
    ByteSource* top_;
};

// Throws unless the folder's coders form a chain this library can decode.
void CheckFolderSupported(const Folder& folder);

}  // namespace sevenzip
