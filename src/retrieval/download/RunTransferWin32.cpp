#include "retrieval/download/RunTransferWin32.h"

#include <optional>

#include "retrieval/download/FetchSequence.h"
#include "retrieval/http/HttpDownload.h"
#include "retrieval/http/HttpProgressWin32.h"
#include "retrieval/indicator/BusyIndicatorWin32.h"
#include "retrieval/proxy/ProxySettingsWin32.h"
#include "state/DownloadState.h"
#include "support/ControlHelpersWin32.h"
#include "support/ScopedWin32.h"
#include "support/SecureStreamWin32.h"

namespace {

class DigestFeed : public BodyObserver {
 public:
  explicit DigestFeed(DownloadDigest& digest) : digest_(digest) {}
  void OnBodyWritten(int64_t offset, std::string_view bytes) override {
    digest_.OnWrite(static_cast<uint64_t>(offset), bytes);
  }

 private:
  DownloadDigest& digest_;
};

}  // namespace

void ShowTransferFailure(HWND owner, const std::string& text) {
  ShowMessageBox(owner, text, kTransferErrorTitle, MB_ICONERROR);
}

TransferOutcome RunTransfer(HWND owner, const std::string& url, const std::string& outputPath, DownloadedFile* kept) {
  if (url.empty()) return {};
  DownloadState = kDownloadStarting;

  WindowProgressSink sink(owner);
  DownloadRequest request;
  request.url = url;
  request.outputPath = outputPath;
  request.ownerWindow = owner;
  request.progress = &sink;
  request.settings.proxyFor = UserProxyFor;
  request.settings.secureStreams = NewSystemSecureStream;
  std::optional<DigestFeed> feed;
  if (kept != nullptr) {
    kept->file.Close();
    request.keptFile = &kept->file;
    if (kept->digest.Start()) request.observer = &feed.emplace(kept->digest);
  }

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
  if (kept != nullptr && !kept->file.IsOpen()) kept->digest.Stop();
  // Idle on every path, so that a close during the message below asks nothing.
  DownloadState = kDownloadIdle;
  if (!request.errorText.empty()) {
    ShowTransferFailure(owner, request.errorText);
    result = kTransferFailureShown;
  }
  return {result, request.reached, std::move(request.unreachedText), std::move(request.untrustedText)};
}
