#include "FolderDecoder.h"

#include "ArchiveError.h"
#include "CoderMethods.h"
#include "PackStreamSource.h"

namespace sevenzip {
namespace {

// Hands out exactly `size` bytes of its input: a coder whose output ends before its declared
// size, or goes on past it, makes the archive damaged.
class ExactSizeSource : public ByteSource {
 public:
  ExactSizeSource(ByteSource& input, uint64_t size) : input_(input), remaining_(size) {}

  size_t Read(uint8_t* dest, size_t size) override {
    if (remaining_ == 0) {
      if (!checkedEnd_) {
        checkedEnd_ = true;
        uint8_t extra;
        if (input_.Read(&extra, 1) != 0) ThrowDamaged("coder output longer than its size");
      }
      return 0;
    }
    size_t want = size < remaining_ ? size : size_t(remaining_);
    size_t n = input_.Read(dest, want);
    if (n < want) ThrowDamaged("coder output shorter than its size");
    remaining_ -= n;
    return n;
  }

 private:
  ByteSource& input_;
  uint64_t remaining_;
  bool checkedEnd_ = false;
};

uint64_t FirstInStream(const Folder& f, uint64_t coder) {
  uint64_t index = 0;
  for (uint64_t i = 0; i < coder; ++i) index += f.coders[i].inStreams;
  return index;
}

// Every stage of a folder: each coder used once and each in-stream fed either by one bind
// pair or by one packed stream.
void CheckFolderLayout(const Folder& f) {
  uint64_t inStreams = 0;
  for (const auto& c : f.coders) {
    if (c.outStreams != 1) ThrowUnsupported("coder with several outputs");
    inStreams += c.inStreams;
  }
  if (f.unpackSizes.size() != f.coders.size()) ThrowDamaged("unpack sizes do not match the coders");
  if (f.bindPairs.size() + f.packedStreams.size() != inStreams) ThrowDamaged("unconnected coder inputs");
  std::vector<int> fed(inStreams, 0), used(f.coders.size(), 0);
  for (const auto& bp : f.bindPairs) {
    if (bp.inIndex >= inStreams || bp.outIndex >= f.coders.size()) ThrowDamaged("bind pair out of range");
    ++fed[bp.inIndex];
    ++used[bp.outIndex];
  }
  for (uint64_t p : f.packedStreams) {
    if (p >= inStreams) ThrowDamaged("packed stream out of range");
    ++fed[p];
  }
  for (int n : fed)
    if (n != 1) ThrowDamaged("coder input fed twice or not at all");
  uint64_t main = f.MainOutStream();
  for (uint64_t i = 0; i < used.size(); ++i)
    if (used[i] != (i == main ? 0 : 1)) ThrowDamaged("coder output used twice or not at all");
}

}  // namespace

void CheckFolderSupported(const Folder& folder) {
  if (folder.coders.empty()) ThrowDamaged("folder without coders");
  for (const auto& c : folder.coders) {
    const CoderMethod* m = FindCoderMethod(c.methodId);
    if (!m) ThrowUnsupportedCoder("unsupported method", c.methodId);
    if (!m->make) ThrowUnsupportedCoder("encrypted archive", c.methodId);
    if (c.inStreams != m->inStreams) ThrowDamaged("coder stream count");
  }
  CheckFolderLayout(folder);
}

FolderDecoder::FolderDecoder(InStream& in, const Folder& folder, std::span<const uint64_t> packOffsets,
                             std::span<const uint64_t> packSizes)
    : in_(in), folder_(folder), packOffsets_(packOffsets), packSizes_(packSizes) {
  CheckFolderSupported(folder);
  if (packOffsets.size() != folder.packedStreams.size() || packSizes.size() != folder.packedStreams.size())
    ThrowDamaged("missing packed stream");
  coderBuilt_.assign(folder.coders.size(), false);
  top_ = BuildCoderOutput(folder.MainOutStream());
}

bool FolderDecoder::DecodesAhead() const {
  for (const auto& source : sources_)
    if (source->DecodesAhead()) return true;
  return false;
}

// A layout that passed CheckFolderLayout is a tree, so each coder is reached once.
ByteSource* FolderDecoder::BuildCoderOutput(uint64_t coder) {
  if (coderBuilt_[coder]) ThrowDamaged("coders form a cycle");
  coderBuilt_[coder] = true;
  const Coder& c = folder_.coders[coder];
  std::vector<ByteSource*> inputs;
  uint64_t first = FirstInStream(folder_, coder);
  for (uint32_t i = 0; i < c.inStreams; ++i) inputs.push_back(BuildInStream(first + i));
  CoderSetup setup{inputs, c.properties, folder_.unpackSizes[coder]};
  sources_.push_back(FindCoderMethod(c.methodId)->make(setup));
  ByteSource& decoded = *sources_.back();
  sources_.push_back(std::make_unique<ExactSizeSource>(decoded, setup.unpackSize));
  return sources_.back().get();
}

ByteSource* FolderDecoder::BuildInStream(uint64_t inIndex) {
  for (const auto& bp : folder_.bindPairs)
    if (bp.inIndex == inIndex) return BuildCoderOutput(bp.outIndex);
  for (size_t p = 0; p < folder_.packedStreams.size(); ++p)
    if (folder_.packedStreams[p] == inIndex) {
      sources_.push_back(std::make_unique<PackStreamSource>(in_, packOffsets_[p], packSizes_[p]));
      return sources_.back().get();
    }
  ThrowDamaged("coder input without a source");
}

}  // namespace sevenzip
