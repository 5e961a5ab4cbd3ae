#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "contracts/WindowMessages.h"
#include "state/DownloadState.h"

// Progress of a transfer, reported by the worker through a sink so that the client never
// sees the window system; the Windows sink posts kProgressMessage (HttpWindowSink).

// Notifications are at least this far apart so that the UI thread's queue is not flooded.
constexpr uint32_t kProgressIntervalMs = 300;

class DownloadSink {
 public:
  virtual ~DownloadSink() = default;
  // Called on the worker thread: body bytes in the output file, and the announced total
  // (1 when the server announced none).
  virtual void OnProgress(int64_t bytesWritten, int64_t totalBytes) = 0;
};

// Millisecond tick count (GetTickCount on Windows); wraps like it.
uint32_t ProgressTick();

// Says whether a notification is due at `now`: the first one always, then only when more
// than kProgressIntervalMs have passed since the last one (the counter may wrap).
class ProgressPacer {
 public:
  bool Due(uint32_t now);

 private:
  std::optional<uint32_t> lastNotice_;
};

// The two 32-bit message parameters for a progress notification. Counts that do not fit
// (2 GiB and more) are scaled down by the same power of two, so their ratio stays right.
struct ProgressMessageParams {
  uint32_t bytesWritten;
  int32_t totalBytes;
};
ProgressMessageParams ToProgressMessageParams(int64_t bytesWritten, int64_t totalBytes);

// Worker side, before each post: leaves the counts of the message about to be sent in
// ExactProgressKiB.
// Each half saturates at 4 TiB.
void RecordExactProgress(int64_t bytesWritten, int64_t totalBytes);

// UI side: the halves of a nonzero ExactProgressKiB value.
struct ProgressKiB {
  uint32_t done;
  uint32_t total;
};
ProgressKiB UnpackProgressKiB(uint64_t packed);
