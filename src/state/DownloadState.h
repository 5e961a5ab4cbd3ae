#pragma once

#include <atomic>
#include <cstdint>

// Shared between the user-interface thread and the download worker. Any value above
// kDownloadIdle means that a download is in progress.
extern std::atomic<int32_t> DownloadState;

constexpr int32_t kDownloadIdle = 0;
constexpr int32_t kDownloadStarting = 1;
constexpr int32_t kDownloadCancelRequested = 2;
constexpr int32_t kDownloadStartingSockets = 3;
constexpr int32_t kDownloadCheckingUrl = 4;
constexpr int32_t kDownloadResolving = 5;
constexpr int32_t kDownloadCreatingSocket = 6;
constexpr int32_t kDownloadConnecting = 7;
constexpr int32_t kDownloadSending = 8;
constexpr int32_t kDownloadReceiving = 9;

// Moves the worker to its next step unless a cancel has been requested: a cancel is never
// overwritten by a step value. Returns false when the transfer is to stop.
bool EnterDownloadStep(int32_t step);

bool DownloadCancelRequested();

// The real counts behind a scaled-down progress message, in whole KiB, packed into one 64-bit
// atomic (done in the low half, total in the high half) so the UI thread never reads half of
// an update. 0 while the counts fit the message: then its own parameters are exact.
extern std::atomic<uint64_t> ExactProgressKiB;
