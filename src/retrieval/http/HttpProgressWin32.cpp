#include "retrieval/http/HttpProgressWin32.h"

#include "retrieval/http/HttpDownload.h"

void WindowProgressSink::OnProgress(int64_t bytesWritten, int64_t totalBytes) {
  RecordExactProgress(bytesWritten, totalBytes);
  const ProgressMessageParams params = ToProgressMessageParams(bytesWritten, totalBytes);
  PostMessageW(window_, kProgressMessage, params.bytesWritten, params.totalBytes);
}

DWORD WINAPI HttpDownloadThread(LPVOID request) {
  HttpDownload(static_cast<DownloadRequest*>(request));
  return 0;
}
