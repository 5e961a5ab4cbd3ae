#pragma once

#include <windows.h>

#include "retrieval/http/HttpProgress.h"

// The Windows side of the download worker.

// Posts each progress report to the window as kProgressMessage.
class WindowProgressSink : public DownloadSink {
 public:
  explicit WindowProgressSink(HWND window) : window_(window) {}
  void OnProgress(int64_t bytesWritten, int64_t totalBytes) override;

 private:
  HWND window_;
};

// CreateThread entry: runs HttpDownload on the DownloadRequest it is given.
DWORD WINAPI HttpDownloadThread(LPVOID request);
