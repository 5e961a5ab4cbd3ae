#include "state/DownloadState.h"

std::atomic<int32_t> DownloadState{kDownloadIdle};

bool EnterDownloadStep(int32_t step) {
  int32_t current = DownloadState.load();
  while (current != kDownloadCancelRequested) {
    if (DownloadState.compare_exchange_weak(current, step)) return true;
  }
  return false;
}

bool DownloadCancelRequested() { return DownloadState.load() == kDownloadCancelRequested; }
