#include "retrieval/FetchFile.h"

#include <windows.h>

#include <array>

#include "app/AppState.h"
#include "app/BuildConfig.h"
#include "app/MessageLoop.h"
#include "forms/ControlHelpers.h"
#include "forms/ControlIds.h"
#include "forms/FormsState.h"
#include "retrieval/FetchSequence.h"
#include "retrieval/RetrievalState.h"
#include "retrieval/RunTransfer.h"
#include "wizard/WizardState.h"

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
