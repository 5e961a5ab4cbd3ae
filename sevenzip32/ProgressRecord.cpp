#include "ProgressRecord.h"

#include <cstring>

namespace sevenzip {
namespace {

uint32_t Clamp32(uint64_t value) { return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(value); }

}  // namespace

ProgressRecord MakeProgressRecord(const ExtractProgress& progress) {
    ProgressRecord record{};
    record.entrySize = Clamp32(progress.size);
    record.bytesWritten = Clamp32(progress.written);
    size_t n = progress.name.size() < sizeof record.entryName - 1 ? progress.name.size() : sizeof record.entryName - 1;
    std::memcpy(record.entryName, progress.name.data(), n);
    return record;
}

}  // namespace sevenzip
