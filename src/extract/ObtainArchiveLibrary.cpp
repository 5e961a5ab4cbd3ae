#include "extract/ObtainArchiveLibrary.h"

#include <windows.h>

#include "contracts/ProgramIdentity.h"
#include "state/AppState.h"
#include "extract/ExtractionTexts.h"
#include "retrieval/download/FetchFile.h"
#include "state/RetrievalState.h"
#include "support/FileIO.h"
#include "trust/PublisherFile.h"
#include "trust/TrustState.h"

namespace {

// The library runs with the installer's rights: nothing but the publisher's is loaded.
bool HoldLibrary(const std::string& libraryPath) { return HoldPublisherFile(libraryPath, CheckedLibrary); }

}  // namespace

void ObtainArchiveLibrary() {
  const std::string libraryPath = TempFolder + kArchiveLibraryFile;
  if (FileExists(libraryPath)) {
    if (HoldLibrary(libraryPath)) return;
    DeleteFileNamed(libraryPath);  // planted or damaged: fetched anew
  }
  if (!FetchFile(kArchiveLibraryFile, kArchiveLibraryDownloadName)) {
    if (AbortRequested != 1) {
      MessageBoxA(MainWindowHandle, kArchiveLibraryDownloadError, kInstallTitle, MB_ICONERROR);
      DeleteFileNamed(libraryPath);
    }
    ExitProcess(0);
  }
  if (HoldLibrary(libraryPath)) return;
  MessageBoxA(MainWindowHandle, kArchiveLibraryNotPublishers, kPublisherTitle, MB_ICONERROR);
  DeleteFileNamed(libraryPath);
  ExitProcess(0);
}
