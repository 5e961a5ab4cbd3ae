#include "PpmdSource.h"

#include "ArchiveError.h"
#include "DecoderMemory.h"

namespace sevenzip {
namespace {

// 7z writes orders up to 32 but reads up to the model's 64; its memory does not grow with the order.
constexpr unsigned kMinOrder = 2, kMaxOrder = PpmdModel::kMaxOrder;
constexpr uint32_t kMinMemory = 1 << 11;
constexpr uint32_t kMaxMemory = 0xFFFFFFFF - 12 * 3;

}  // namespace

PpmdSource::PpmdSource(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize)
    : rc_(input), remaining_(unpackSize) {
  if (properties.size() != 5) ThrowUnsupported("PPMd properties size");
  unsigned order = properties[0];
  uint32_t memory = properties[1] | properties[2] << 8 | properties[3] << 16 | uint32_t(properties[4]) << 24;
  if (order < kMinOrder || order > kMaxOrder) ThrowUnsupported("PPMd order");
  if (memory < kMinMemory || memory > kMaxMemory) ThrowUnsupported("PPMd memory size");
  if (memory > kMaxDecoderMemory) ThrowUnsupported("PPMd memory size above the decoder's budget");
  model_ = std::make_unique<PpmdModel>(memory, order);
}

size_t PpmdSource::Read(uint8_t* dest, size_t size) {
  if (remaining_ == 0) return 0;
  if (!started_) {
    rc_.Init();
    started_ = true;
  }
  size_t n = size < remaining_ ? size : size_t(remaining_);
  PpmdModel& model = *model_;
  for (size_t i = 0; i < n; ++i) {
    int symbol = model.DecodeSymbol(rc_);
    if (symbol < 0) ThrowDamaged(symbol == -1 ? "PPMd end mark before the declared size" : "PPMd data error");
    dest[i] = uint8_t(symbol);
  }
  remaining_ -= n;
  return n;
}

}  // namespace sevenzip
