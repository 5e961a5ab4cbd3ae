#include "retrieval/HttpProgress.h"

#include <limits>

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#else
#include <ctime>
#endif

uint32_t ProgressTick() {
#ifdef _WIN32
  return timeGetTime();
#else
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
#endif
}

bool ProgressPacer::Due(uint32_t now) {
  if (lastNotice_ && now - *lastNotice_ <= kProgressIntervalMs) return false;
  lastNotice_ = now;
  return true;
}

ProgressMessageParams ToProgressMessageParams(int64_t bytesWritten, int64_t totalBytes) {
  uint64_t written = bytesWritten < 0 ? 0 : static_cast<uint64_t>(bytesWritten);
  uint64_t total = totalBytes < 0 ? 0 : static_cast<uint64_t>(totalBytes);
  while (written > std::numeric_limits<uint32_t>::max() || total > std::numeric_limits<int32_t>::max()) {
    written >>= 1;
    total >>= 1;
  }
  return {static_cast<uint32_t>(written), static_cast<int32_t>(total)};
}
