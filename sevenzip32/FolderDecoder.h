#pragma once
#include <memory>
#include <span>
#include <vector>

#include "ArchiveModel.h"
#include "ByteSource.h"
#include "InStream.h"

namespace sevenzip {

// The decoded output of one folder: its packed streams run through the folder's coders,
// wired by its bind pairs. Every coder's output is held to its declared size.
class FolderDecoder : public ByteSource {
 public:
  // packOffsets: archive offset of each of the folder's packed streams, in folder order.
  FolderDecoder(InStream& in, const Folder& folder, std::span<const uint64_t> packOffsets,
                std::span<const uint64_t> packSizes);
  size_t Read(uint8_t* dest, size_t size) override { return top_->Read(dest, size); }
  bool DecodesAhead() const override;

 private:
  ByteSource* BuildCoderOutput(uint64_t coder);
  ByteSource* BuildInStream(uint64_t inIndex);

  InStream& in_;
  const Folder& folder_;
  std::span<const uint64_t> packOffsets_;
  std::span<const uint64_t> packSizes_;
  std::vector<bool> coderBuilt_;
  std::vector<std::unique_ptr<ByteSource>> sources_;  // owns every stage
  ByteSource* top_;
};

// Throws unless every coder's method is one this library decodes and the bind pairs
// connect the coders into one tree.
void CheckFolderSupported(const Folder& folder);

}  // namespace sevenzip
