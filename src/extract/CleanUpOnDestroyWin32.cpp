#include "extract/CleanUpOnDestroyWin32.h"

#include "extract/ArchiveLibraryWin32.h"
#include "retrieval/download/RunFolderWin32.h"
#include "state/DownloadState.h"

int CleanUpOnDestroy(HWND) {
  ReleaseArchiveLibrary();
  // A download that is being stopped still writes its file: the step that ends the program
  // once the worker has let go removes the folder then.
  if (DownloadState == kDownloadIdle) RemoveRunFolder();
  return 0;
}
