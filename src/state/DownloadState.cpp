#include "state/DownloadState.h"

std::atomic<int32_t> DownloadState{kDownloadIdle};
std::atomic<uint64_t> ExactProgressKiB{0};

// The worker must never block the UI thread, nor need a lock library, for this one value.
static_assert(std::atomic<uint64_t>::is_always_lock_free);

bool EnterDownloadStep(int32_t step) {
  int32_t current = DownloadState.load();
  while (current != kDownloadCancelRequested) {
    if (DownloadState.compare_exchange_weak(current, step)) return true;
  }
  return false;
}

bool DownloadCancelRequested() { return DownloadState.load() == kDownloadCancelRequested; }
