#include "retrieval/download/FetchFile.h"

#include <windows.h>

#include <array>

#include "state/AppState.h"
#include "state/BuildConfig.h"
#include "support/MessagePump.h"
#include "support/ControlHelpers.h"
#include "contracts/ControlIds.h"
#include "state/FormsState.h"
#include "retrieval/download/FetchSequence.h"
#include "state/RetrievalState.h"
#include "retrieval/download/RunTransfer.h"
#include "state/WizardState.h"

namespace {

class WindowsFetchHost : public FetchHost {
 public:
  void ShowDownloadPage(const std::string& headerText, const std::string& progressItem,
                        const std::string& label) override {
    PageTitle = headerText;
    PageSubtitle = headerText;
    ProgressItemText = progressItem;
    SetProgressLabel(label);
    CurrentPage = 0;
    RefreshWindow(MainWindowHandle);
  }
  void SetProgressLabel(const std::string& text) override { SetControlText(ControlWindow(kProgressHintId), text); }
  void ClearStopRequest() override { AbortRequested = 0; }
  bool StopConfirmed() override { return AbortRequested == 1; }
  int64_t RunTransfer(const std::string& url, const std::string& outputPath) override {
    return ::RunTransfer(MainWindowHandle, url, outputPath);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return MoveFileA(from.c_str(), to.c_str()) != FALSE;
  }
};

}  // namespace

bool FetchFile(const std::string& fileName, const std::string& displayName) {
  WindowsFetchHost host;
  const std::array<std::string_view, 2> hosts = {DownloadHost1, DownloadHost2};
  return FetchFromHosts(host, TempFolder, fileName, displayName, hosts);
}
