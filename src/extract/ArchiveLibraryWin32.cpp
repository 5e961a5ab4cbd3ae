#include "extract/ArchiveLibraryWin32.h"

#include <windows.h>

#include "contracts/ProgramIdentity.h"
#include "extract/Extraction.h"
#include "platform/File.h"
#include "platform/GbkText.h"
#include "platform/HeldFileRetry.h"
#include "retrieval/download/FetchFileWin32.h"
#include "retrieval/download/RunFolderWin32.h"
#include "state/AppStateWin32.h"
#include "state/RetrievalState.h"
#include "state/TrustState.h"
#include "support/ControlHelpersWin32.h"
#include "support/MessagePumpWin32.h"
#include "trust/PublisherFile.h"

namespace {

HMODULE gLibraryHandle = nullptr;
ArchiveLibrary gLibrary{};

template <typename Function>
bool LookUp(Function& function, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(gLibraryHandle, name)));
  return function != nullptr;
}

// Every export is looked up at once; a library that lacks one is not used, rather than
// calling through a null address later.
bool LookUpExports() {
#define SEVENZIP_LOOK_UP(result, name, parameters) &&LookUp(gLibrary.name, #name)
  return true SEVENZIP_EXPORTS(SEVENZIP_LOOK_UP);
#undef SEVENZIP_LOOK_UP
}

}  // namespace

const ArchiveLibrary* LoadArchiveLibrary() {
  if (!gLibraryHandle) {
    const std::string path = RunFolder + kArchiveLibraryFile;
    RetryWhileHeld([&] {
      gLibraryHandle = LoadLibraryExW(WideText(path), nullptr, 0);
      return gLibraryHandle ? FileAnswer::Done : AnswerForError(GetLastError());
    });
    if (gLibraryHandle && !LookUpExports()) ReleaseArchiveLibrary();
    // Where the library offers UTF-8, the installer's text reaches it whole under any code page.
    SevenZipSetUtf8ModeCall setUtf8Mode = nullptr;
    gLibrary.utf8Text = gLibraryHandle && LookUp(setUtf8Mode, kSevenZipUtf8ModeExport) && setUtf8Mode(TRUE);
  }
  // Once mapped, the image is the loader's; the checked file need not be held any longer.
  CheckedLibrary.Close();
  return gLibraryHandle ? &gLibrary : nullptr;
}

void ReleaseArchiveLibrary() {
  if (gLibraryHandle) FreeLibrary(gLibraryHandle);
  gLibraryHandle = nullptr;
  gLibrary = {};
}

namespace {

// The library runs with the installer's rights: nothing but the publisher's is loaded.
bool HoldLibrary(const std::string& libraryPath) { return HoldPublisherFile(libraryPath, CheckedLibrary); }

}  // namespace

void ObtainArchiveLibrary() {
  const std::string libraryPath = RunFolder + kArchiveLibraryFile;
  if (FileExists(PathFromGbk(libraryPath))) {
    if (HoldLibrary(libraryPath)) return;
    DeleteFileNamed(PathFromGbk(libraryPath));  // damaged since an earlier attempt: fetched anew
  }
  if (!FetchFile(kArchiveLibraryFile, kArchiveLibraryDownloadName)) {
    if (AbortRequested != 1 && !QuitReceived()) {
      ShowMessageBox(MainWindowHandle, kArchiveLibraryDownloadError, kInstallTitle, MB_ICONERROR);
      DeleteFileNamed(PathFromGbk(libraryPath));
    }
    EndProgramNow();
  }
  if (HoldLibrary(libraryPath)) return;
  ShowMessageBox(MainWindowHandle, kArchiveLibraryNotPublishers, kPublisherTitle, MB_ICONERROR);
  DeleteFileNamed(PathFromGbk(libraryPath));
  EndProgramNow();
}
