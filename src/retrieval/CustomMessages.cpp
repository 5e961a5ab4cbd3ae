#include "retrieval/CustomMessages.h"

#include "forms/ControlHelpers.h"
#include "forms/ControlIds.h"
#include "forms/FormsState.h"
#include "retrieval/DecimalSeparator.h"
#include "retrieval/HttpProgress.h"
#include "retrieval/ProgressText.h"
#include "retrieval/RetrievalState.h"
#include "retrieval/WindowsPackageStep.h"

namespace {

void OnDownloadProgress(WPARAM bytesWritten, LPARAM totalBytes) {
  const DownloadProgressView view =
      DownloadProgressFor(static_cast<uint32_t>(bytesWritten), static_cast<int32_t>(totalBytes),
                          ExactProgressKiB.load(), ProgressItemText, DecimalSeparator());
  SetControlText(ControlWindow(kProgressHintId), view.label);
  SetProgressPos(ControlWindow(kProgressBarId), view.barPosition);
}

}  // namespace

int CustomMessageHandler(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProgressMessage) {
    OnDownloadProgress(wParam, lParam);
  } else if (message == kStartMessage) {
    OnStartMessage(form);
  }
  return 0;
}
