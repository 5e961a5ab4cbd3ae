#include "ProgressRecord.h"

#include <algorithm>
#include <cstring>

#include "CallerText.h"
#include "platform/Utf8Text.h"

namespace sevenzip {
namespace {

uint32_t Clamp32(uint64_t value) { return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(value); }

}  // namespace

ProgressRecord MakeProgressRecord(const ExtractProgress& progress) {
  ProgressRecord record{};
  record.entrySize = Clamp32(progress.size);
  record.bytesWritten = Clamp32(progress.written);
  // Whole characters only: a name too long for the field is shortened there, not on disk.
  const std::string name = ToCallerText(Utf8Prefix(progress.name, sizeof record.entryName - 1));
  std::memcpy(record.entryName, name.data(), std::min(name.size(), sizeof record.entryName - 1));
  return record;
}

bool WriteReportPacer::Due(const ExtractProgress& progress, uint32_t nowMs) {
  // Unsigned, so the difference stays right when the millisecond counter wraps.
  if (progress.written < progress.size && last_ && nowMs - *last_ < kWriteReportIntervalMs) return false;
  last_ = nowMs;
  return true;
}

}  // namespace sevenzip
