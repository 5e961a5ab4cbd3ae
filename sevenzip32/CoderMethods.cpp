#include "CoderMethods.h"

#include "BcjX86Source.h"
#include "Bzip2Source.h"
#include "Lzma2Source.h"
#include "LzmaSource.h"
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
    return std::make_unique<Lzma2Source>(*s.inputs[0], s.properties, s.unpackSize);
}

std::unique_ptr<ByteSource> MakePpmd(const CoderSetup& s) {
    return std::make_unique<PpmdSource>(*s.inputs[0], s.properties, s.unpackSize);
}

std::unique_ptr<ByteSource> MakeBzip2(const CoderSetup& s) { return std::make_unique<Bzip2Source>(*s.inputs[0]); }

std::unique_ptr<ByteSource> MakeBcjX86(const CoderSetup& s) { return std::make_unique<BcjX86Source>(*s.inputs[0]); }

constexpr CoderMethod kMethods[] = {
    {0x00, "Copy", 1, MakeCopy},
    {0x030101, "LZMA", 1, MakeLzma},
    {0x21, "LZMA2", 1, MakeLzma2},
    {0x030401, "PPMD", 1, MakePpmd},
    {0x040202, "BZip2", 1, MakeBzip2},
    {0x03030103, "BCJ", 1, MakeBcjX86},
    {0x04, "BCJ", 1, MakeBcjX86},
    {0x06F10701, "7zAES", 1, nullptr},
};

}  // namespace

const CoderMethod* FindCoderMethod(uint64_t id) {
    for (const auto& m : kMethods)
        if (m.id == id) return &m;
    return nullptr;
}

}  // namespace sevenzip
