#include "forms/PackageInfoStepWin32.h"

#include "contracts/WindowMessages.h"
#include "forms/LoadStepWin32.h"
#include "pages/PageModel.h"
#include "platform/File.h"
#include "platform/GbkText.h"
#include "retrieval/download/FetchFileWin32.h"
#include "retrieval/download/RunFolderWin32.h"
#include "retrieval/handlers/PackageInfoStep.h"
#include "retrieval/package/PackageInfoTexts.h"
#include "state/RetrievalState.h"
#include "state/TrustState.h"
#include "support/ControlHelpersWin32.h"
#include "support/MessagePumpWin32.h"
#include "trust/PublisherFile.h"
#include "trust/PublisherKey.h"

namespace {

class WindowsPackageStepHost : public PackageStepHost {
 public:
  explicit WindowsPackageStepHost(HWND form) : form_(form) {}

  bool Fetch(const std::string& fileName, const std::string& displayName) override {
    // Signed packages are hashed as they arrive; nothing changes without a key.
    return FetchFile(fileName, displayName, PublisherKey.present ? &downloaded_ : nullptr);
  }
  // Form1 closed during a wait for a held file counts as a stop: nothing more is shown.
  bool StopConfirmed() override { return AbortRequested == 1 || QuitReceived(); }
  std::optional<PackageInfo> ReadInfo(const std::string& folder, const std::string& fileName) override {
    return ReadPackageInfo(folder, fileName);
  }
  void ShowDownloadFailed() override {
    ShowMessageBox(form_, kPackageDownloadFailedText, kPackageDownloadFailedTitle, MB_OK | MB_ICONERROR);
  }
  bool AskRetryFileError(const std::string& text) override {
    return !QuitReceived() &&
           ShowMessageBox(form_, text, kPackageFileErrorTitle, MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY;
  }
  // Checked on its download's handle, or hashed whole when the download left none.
  bool SignatureHolds(const std::string& path) override {
    if (downloaded_.file.IsOpen()) return HoldDownloadedFile(downloaded_, CheckedPackage);
    return HoldPublisherFile(path, CheckedPackage);
  }
  void DeleteFile(const std::string& path) override {
    CheckedPackage.Close();
    downloaded_.file.Close();
    DeleteFileNamed(PathFromGbk(path));
  }
  void StorePackage(const PackageInfo& info) override { Package = info; }
  void ShowWelcomePage() override {
    ApplyPageMove(kWelcomePageMove, Package);
    RefreshWindow(form_);
  }
  void PostStartMessage() override { PostMessageW(form_, kStartMessage, 0, 0); }
  void EndProgram() override {
    downloaded_.file.Close();
    EndProgramNow();
  }

 private:
  HWND form_;
  DownloadedFile downloaded_;
};

}  // namespace

void OnStartMessage(HWND form) {
  WindowsPackageStepHost host(form);
  RunPackageInfoStep(host, RunFolder, PackageNameFromMarker(CurrentMarker()));
}
