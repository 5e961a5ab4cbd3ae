#include "retrieval/download/FetchFileWin32.h"

#include <windows.h>

#include <array>

#include "contracts/ControlIds.h"
#include "pages/PageModel.h"
#include "platform/File.h"
#include "platform/GbkText.h"
#include "retrieval/download/FetchSequence.h"
#include "retrieval/download/RunTransferWin32.h"
#include "state/AppStateWin32.h"
#include "state/BuildConfig.h"
#include "state/FormsStateWin32.h"
#include "state/RetrievalState.h"
#include "state/WizardState.h"
#include "support/ControlHelpersWin32.h"
#include "support/MessagePumpWin32.h"

namespace {

class WindowsFetchHost : public FetchHost {
 public:
  explicit WindowsFetchHost(DownloadedFile* kept) : kept_(kept) {}

  void ShowDownloadPage(const std::string& headerText, const std::string& progressItem,
                        const std::string& label) override {
    PageTitle = headerText;
    PageSubtitle = headerText;
    ProgressItemText = progressItem;
    SetProgressLabel(label);
    ApplyPageMove(kDownloadPageMove, Package);
    RefreshWindow(MainWindowHandle);
  }
  void SetProgressLabel(const std::string& text) override { SetControlText(ControlWindow(kProgressHintId), text); }
  void ClearStopRequest() override { AbortRequested = 0; }
  bool StopConfirmed() override { return AbortRequested == 1; }
  TransferOutcome RunTransfer(const std::string& url, const std::string& outputPath) override {
    return ::RunTransfer(MainWindowHandle, url, outputPath, kept_);
  }
  void ShowFailure(const std::string& text) override { ShowTransferFailure(MainWindowHandle, text); }
  bool RenameFile(const std::string& from, const std::string& to) override {
    if (kept_ != nullptr && kept_->file.IsOpen()) return kept_->file.RenameTo(PathFromGbk(to));
    return RenameFileNamed(PathFromGbk(from), PathFromGbk(to));
  }

 private:
  DownloadedFile* kept_;
};

}  // namespace

bool FetchFile(const std::string& fileName, const std::string& displayName, DownloadedFile* kept) {
  WindowsFetchHost host(kept);
  const std::array<std::string_view, 2> hosts = {DownloadHost1, DownloadHost2};
  if (FetchFromHosts(host, RunFolder, fileName, displayName, hosts)) return true;
  if (kept != nullptr) {
    kept->file.Close();
    kept->digest.Stop();
  }
  return false;
}
