#include "forms/CustomMessagesWin32.h"

#include "contracts/ControlIds.h"
#include "forms/PackageInfoStepWin32.h"
#include "retrieval/http/HttpProgress.h"
#include "retrieval/indicator/BusyIndicatorWin32.h"
#include "retrieval/indicator/ProgressText.h"
#include "state/FormsStateWin32.h"
#include "state/RetrievalState.h"
#include "support/ControlHelpersWin32.h"

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
