#include "extract/ObtainArchiveLibrary.h"

#include <windows.h>

#include "contracts/ProgramIdentity.h"
#include "state/AppState.h"
#include "extract/ExtractionTexts.h"
#include "retrieval/download/FetchFile.h"
#include "retrieval/download/RunFolder.h"
#include "state/RetrievalState.h"
#include "platform/File.h"
#include "platform/GbkText.h"
#include "support/MessagePump.h"
#include "trust/PublisherFile.h"
#include "state/TrustState.h"
#include "support/ControlHelpers.h"

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
