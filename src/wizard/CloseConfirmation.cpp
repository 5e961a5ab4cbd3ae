#include "wizard/CloseConfirmation.h"

int32_t DecideClose(CloseHost& host) {
  int32_t result = 0;
  // A stop the user has already confirmed is never asked about again, so a later "No"
  // cannot look like it withdrew it; the stop is only asserted once more.
  const bool alreadyStopping = host.StopConfirmed();
  if (host.DownloadRunning()) {
    if (alreadyStopping || host.AskYesNo(kStopDownloadQuestion)) {
      host.StopDownload();
    } else {
      result = 1;
    }
  }
  if (host.ExtractionRunning()) {
    // The extraction call is still on the stack: Form1 must stay until it returns.
    if (alreadyStopping || host.AskYesNo(kStopExtractionQuestion)) host.StopExtraction();
    result = 1;
  }
  return result;
}
