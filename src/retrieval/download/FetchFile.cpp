#include "retrieval/download/FetchFile.h"

#include <windows.h>

#include <array>
#include <cstring>
#include <vector>

#include "state/AppState.h"
#include "state/BuildConfig.h"
#include "support/MessagePump.h"
#include "support/ControlHelpers.h"
#include "support/HeldFileRetry.h"
#include "contracts/ControlIds.h"
#include "state/FormsState.h"
#include "retrieval/download/FetchSequence.h"
#include "state/RetrievalState.h"
#include "retrieval/download/RunTransfer.h"
#include "state/WizardState.h"
#include "support/GbkText.h"

namespace {

// Renames through the handle: the file is not shared for renaming while it is held.
bool RenameHeldFile(HANDLE file, const std::string& to) {
  const WideText name(to);
  if (name.Length() <= 0) return false;
  const std::size_t nameBytes = static_cast<std::size_t>(name.Length()) * sizeof(WCHAR);
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(info->FileName, static_cast<const wchar_t*>(name), nameBytes);
  return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != FALSE;
}

class WindowsFetchHost : public FetchHost {
 public:
  explicit WindowsFetchHost(DownloadedFile* kept) : kept_(kept) {}

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
  TransferOutcome RunTransfer(const std::string& url, const std::string& outputPath) override {
    return ::RunTransfer(MainWindowHandle, url, outputPath, kept_);
  }
  void ShowFailure(const std::string& text) override { ShowTransferFailure(MainWindowHandle, text); }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return RetryWhileHeld([&] {
      const bool renamed = kept_ != nullptr && kept_->file.IsValid() ? RenameHeldFile(kept_->file, to)
                                                                    : MoveFileW(WideText(from), WideText(to)) != FALSE;
      return renamed ? FileAnswer::Done : AnswerForError(GetLastError());
    });
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
    kept->file.Reset();
    kept->digest.Stop();
  }
  return false;
}
