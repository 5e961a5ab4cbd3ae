#include "extract/ObtainArchiveLibrary.h"

#include <windows.h>

#include "contracts/ProgramIdentity.h"
#include "state/AppState.h"
#include "extract/ExtractionTexts.h"
#include "retrieval/download/FetchFile.h"
#include "state/RetrievalState.h"
#include "support/FileIO.h"

void ObtainArchiveLibrary() {
  const std::string libraryPath = TempFolder + kArchiveLibraryFile;
  if (FileExists(libraryPath)) return;
  if (FetchFile(kArchiveLibraryFile, kArchiveLibraryDownloadName)) return;
  if (AbortRequested != 1) {
    MessageBoxA(MainWindowHandle, kArchiveLibraryDownloadError, kInstallTitle, MB_ICONERROR);
    DeleteFileNamed(libraryPath);
  }
  ExitProcess(0);
}
