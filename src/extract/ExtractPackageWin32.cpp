#include "extract/ExtractPackageWin32.h"

#include <windows.h>

#include "contracts/ControlIds.h"
#include "contracts/ProgramIdentity.h"
#include "extract/ArchiveLibraryWin32.h"
#include "extract/Extraction.h"
#include "extract/ExtractionProgress.h"
#include "platform/GbkText.h"
#include "state/AppStateWin32.h"
#include "state/ExtractionState.h"
#include "state/FormsStateWin32.h"
#include "state/RetrievalState.h"
#include "support/ControlHelpersWin32.h"
#include "support/MessagePumpWin32.h"

namespace {

uint32_t gLastItemTime = 0;
bool gUtf8Library = false;

BOOL WINAPI OnExtractionProgress(HWND, UINT, UINT state, LPVOID record) {
  ProgressRecordFields fields = ReadProgressRecord(record);
  if (gUtf8Library) fields.entryName = GbkShownFromUtf8(fields.entryName);
  const ProgressUpdate update = DecideProgressUpdate(state, fields, GetTickCount(), gLastItemTime);
  if (update.showItem) {
    ProgressItemText = update.itemText;
    SetControlText(ControlWindow(kProgressHintId), ProgressItemText);
  }
  if (update.moveBar) SetProgressPos(ControlWindow(kProgressBarId), update.percent);
  return ProgressAnswer(AbortRequested == 1);
}

// The library stays quiet: no window or cursor of its own over the extraction page.
void SilenceLibrary(const ArchiveLibrary& library) {
  if (library.SevenZipGetBackGroundMode()) {
    library.SevenZipSetBackGroundMode(FALSE);
    library.SevenZipSetCursorMode(FALSE);
  }
}

}  // namespace

bool ExtractPackage(const std::string& archivePath, const std::string& targetFolder) {
  SetCurrentDirectoryW(WideText(ProgramFolder));
  const ArchiveLibrary* library = LoadArchiveLibrary();
  if (!library) {
    // Form1 may have closed while a held library was waited for.
    if (!QuitReceived()) ShowMessageBox(MainWindowHandle, kArchiveLibraryLoadError, ProductTitle, MB_ICONERROR);
    return false;
  }
  // The library's text: UTF-8 where it takes it, else the GBK bytes as today.
  gUtf8Library = library->utf8Text;
  const auto libraryText = [](const std::string& gbk) { return gUtf8Library ? GbkToUtf8(gbk) : gbk; };
  if (!library->SevenZipCheckArchive(libraryText(archivePath).c_str(), 0)) {
    ShowMessageBox(MainWindowHandle, ArchiveCheckMessage(archivePath), ProductTitle, MB_ICONERROR);
    return false;
  }
  SilenceLibrary(*library);

  // The library dispatches Form1's messages while it works, so the close confirmation
  // can ask about stopping and the callback passes the answer back.
  library->SevenZipSetOwnerWindowEx(MainWindowHandle, OnExtractionProgress);
  const std::string command = libraryText(ExtractionCommandLine(archivePath, targetFolder));
  char output[1] = "";
  Extracting = 1;
  const int result = library->SevenZip(nullptr, command.c_str(), output, 0);
  Extracting = 0;
  return ExtractionSucceeded(result);
}
