#include "extract/ObtainArchiveLibrary.h"

#include <windows.h>

#include "state/AppState.h"
#include "extract/ExtractionTexts.h"
#include "retrieval/download/FetchFile.h"
#include "state/RetrievalState.h"
#include "support/FileIO.h"
#include "wizard/FolderRules.h"

void ObtainArchiveLibrary() {
  const std::string libraryPath = TempFolder + kArchiveLibraryFile;
  if (FileExists(libraryPath)) return;
  if (FetchFile(kArchiveLibraryFile, kArchiveLibraryDownloadName)) return;
  if (AbortRequested != 1) {
    MessageBoxA(MainWindowHandle, kArchiveLibraryDownloadError, kInstallMessageTitle, MB_ICONERROR);
    DeleteFileNamed(libraryPath);
  }
  ExitProcess(0);
}
