#include "CoderMethods.h"

#include "ArchiveError.h"
#include "Bcj2Source.h"
#include "BcjX86.h"
#include "BranchFilters.h"
#include "ByteFilters.h"
#include "ByteOrder.h"
#include "Bzip2Source.h"
#include "Deflate64Source.h"
#include "FilterSource.h"
#include "InflateSource.h"
#include "Lzma2Source.h"
#include "LzmaSource.h"
#include "ParallelLzma2Source.h"
#include "PpmdSource.h"

namespace sevenzip {
namespace {

// Copy hands its input on; the folder decoder bounds every coder's output to its size.
class CopySource : public ByteSource {
 public:
  explicit CopySource(ByteSource& input) : input_(input) {}
  size_t Read(uint8_t* dest, size_t size) override { return input_.Read(dest, size); }

 private:
  ByteSource& input_;
};

std::unique_ptr<ByteSource> MakeCopy(const CoderSetup& s) { return std::make_unique<CopySource>(*s.inputs[0]); }

std::unique_ptr<ByteSource> MakeLzma(const CoderSetup& s) {
  return std::make_unique<LzmaSource>(*s.inputs[0], s.properties, s.unpackSize);
}

std::unique_ptr<ByteSource> MakeLzma2(const CoderSetup& s) {
  if (auto parallel = ParallelLzma2Source::TryMake(*s.inputs[0], s.properties, s.unpackSize)) return parallel;
  return std::make_unique<Lzma2Source>(*s.inputs[0], s.properties, s.unpackSize);
}

std::unique_ptr<ByteSource> MakeDeflate(const CoderSetup& s) { return std::make_unique<InflateSource>(*s.inputs[0]); }

std::unique_ptr<ByteSource> MakePpmd(const CoderSetup& s) {
  return std::make_unique<PpmdSource>(*s.inputs[0], s.properties, s.unpackSize);
}

std::unique_ptr<ByteSource> MakeDeflate64(const CoderSetup& s) {
  return std::make_unique<Deflate64Source>(*s.inputs[0]);
}

std::unique_ptr<ByteSource> MakeBzip2(const CoderSetup& s) { return std::make_unique<Bzip2Source>(*s.inputs[0]); }

std::unique_ptr<ByteSource> MakeBcj2(const CoderSetup& s) {
  return std::make_unique<Bcj2Source>(s.inputs, s.unpackSize);
}

// Branch filters may carry the address their stream starts at.
uint32_t StartAddress(const std::vector<uint8_t>& properties) {
  if (properties.empty()) return 0;
  if (properties.size() != 4) ThrowUnsupported("branch filter properties");
  return LoadLe32(properties.data());
}

std::unique_ptr<ByteSource> Filtered(const CoderSetup& s, std::unique_ptr<BufferFilter> filter) {
  return std::make_unique<FilterSource>(*s.inputs[0], std::move(filter));
}

std::unique_ptr<ByteSource> MakeBcjX86(const CoderSetup& s) {
  return Filtered(s, std::make_unique<BcjX86Filter>(StartAddress(s.properties)));
}

template <BranchDecode decode>
std::unique_ptr<ByteSource> MakeBranch(const CoderSetup& s) {
  return Filtered(s, std::make_unique<BranchFilter>(decode, StartAddress(s.properties)));
}

std::unique_ptr<ByteSource> MakeDelta(const CoderSetup& s) {
  if (s.properties.size() != 1) ThrowUnsupported("delta properties");
  return Filtered(s, std::make_unique<DeltaFilter>(s.properties[0] + 1u));
}

template <unsigned width>
std::unique_ptr<ByteSource> MakeSwap(const CoderSetup& s) {
  return Filtered(s, std::make_unique<SwapFilter>(width));
}

// Branch filters have an old three-byte-prefixed ID and a newer one-byte ID.
constexpr CoderMethod kMethods[] = {
    {0x00, "Copy", 1, MakeCopy},
    {0x030101, "LZMA", 1, MakeLzma},
    {0x21, "LZMA2", 1, MakeLzma2},
    {0x040108, "Deflate", 1, MakeDeflate},
    {0x040109, "Deflate64", 1, MakeDeflate64},
    {0x0303011B, "BCJ2", 4, MakeBcj2},
    {0x03, "Delta", 1, MakeDelta},
    {0x030401, "PPMD", 1, MakePpmd},
    {0x040202, "BZip2", 1, MakeBzip2},
    {0x03030103, "BCJ", 1, MakeBcjX86},
    {0x04, "BCJ", 1, MakeBcjX86},
    {0x03030205, "PPC", 1, MakeBranch<PpcDecode>},
    {0x05, "PPC", 1, MakeBranch<PpcDecode>},
    {0x03030401, "IA64", 1, MakeBranch<Ia64Decode>},
    {0x06, "IA64", 1, MakeBranch<Ia64Decode>},
    {0x03030501, "ARM", 1, MakeBranch<ArmDecode>},
    {0x07, "ARM", 1, MakeBranch<ArmDecode>},
    {0x03030701, "ARMT", 1, MakeBranch<ArmThumbDecode>},
    {0x08, "ARMT", 1, MakeBranch<ArmThumbDecode>},
    {0x03030805, "SPARC", 1, MakeBranch<SparcDecode>},
    {0x09, "SPARC", 1, MakeBranch<SparcDecode>},
    {0x0A, "ARM64", 1, MakeBranch<Arm64Decode>},
    {0x0B, "RISCV", 1, MakeBranch<RiscVDecode>},
    {0x020302, "Swap2", 1, MakeSwap<2>},
    {0x020304, "Swap4", 1, MakeSwap<4>},
    {0x06F10701, "7zAES", 1, nullptr},
};

}  // namespace

const CoderMethod* FindCoderMethod(uint64_t id) {
  for (const auto& m : kMethods)
    if (m.id == id) return &m;
  return nullptr;
}

}  // namespace sevenzip
