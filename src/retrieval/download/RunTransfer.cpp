#include "retrieval/download/RunTransfer.h"

#include "retrieval/indicator/BusyIndicator.h"
#include "state/DownloadState.h"
#include "retrieval/download/FetchSequence.h"
#include "retrieval/http/HttpDownload.h"
#include "retrieval/http/HttpProgressWin32.h"
#include "support/ScopedWin.h"

int64_t RunTransfer(HWND owner, const std::string& url, const std::string& outputPath) {
  if (url.empty()) return 0;
  DownloadState = kDownloadStarting;

  WindowProgressSink sink(owner);
  DownloadRequest request;
  request.url = url;
  request.outputPath = outputPath;
  request.ownerWindow = owner;
  request.progress = &sink;

  int64_t result = 0;
  if (IsNetworkConnected()) {
    // A worker that cannot start leaves the result at 0, so the next host is tried.
    AutoCloseHandle worker(CreateThread(nullptr, 0, HttpDownloadThread, &request, 0, nullptr));
    if (worker.IsValid()) {
      BusyIndicator(owner, worker);
      // The request lives in this frame: never leave it while the worker may still write it.
      WaitForSingleObject(worker, INFINITE);
      result = request.result;
    }
  } else {
    request.errorText = kNoNetworkText;
  }
  // Idle on every path, so that a close during the message below asks nothing.
  DownloadState = kDownloadIdle;
  if (!request.errorText.empty()) {
    MessageBoxA(owner, request.errorText.c_str(), std::string(kTransferErrorTitle).c_str(), MB_ICONERROR);
    result = kTransferFailureShown;
  }
  return result;
}
