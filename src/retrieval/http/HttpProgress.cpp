#include "retrieval/http/HttpProgress.h"

#include <algorithm>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

uint32_t ProgressTick() {
#ifdef _WIN32
  return GetTickCount();
#else
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
#endif
}

bool ProgressPacer::Due(uint32_t now) {
  if (lastNotice_ && now - *lastNotice_ <= kProgressIntervalMs) return false;
  lastNotice_ = now;
  return true;
}

namespace {

uint64_t NonNegative(int64_t count) { return count < 0 ? 0 : static_cast<uint64_t>(count); }

bool FitMessage(uint64_t written, uint64_t total) {
  return written <= std::numeric_limits<uint32_t>::max() && total <= std::numeric_limits<int32_t>::max();
}

uint64_t SaturatedKiB(uint64_t bytes) { return std::min<uint64_t>(bytes >> 10, std::numeric_limits<uint32_t>::max()); }

}  // namespace

ProgressMessageParams ToProgressMessageParams(int64_t bytesWritten, int64_t totalBytes) {
  uint64_t written = NonNegative(bytesWritten);
  uint64_t total = NonNegative(totalBytes);
  while (!FitMessage(written, total)) {
    written >>= 1;
    total >>= 1;
  }
  return {static_cast<uint32_t>(written), static_cast<int32_t>(total)};
}

void RecordExactProgress(int64_t bytesWritten, int64_t totalBytes) {
  const uint64_t written = NonNegative(bytesWritten);
  const uint64_t total = NonNegative(totalBytes);
  // Counts that do not fit are at least 2 GiB, so a packed value is never 0.
  ExactProgressKiB = FitMessage(written, total) ? 0 : SaturatedKiB(total) << 32 | SaturatedKiB(written);
}

ProgressKiB UnpackProgressKiB(uint64_t packed) {
  return {static_cast<uint32_t>(packed), static_cast<uint32_t>(packed >> 32)};
}
