#include "wizard/InstallActionWin32.h"

#include <shlobj.h>

#include "contracts/ControlIds.h"
#include "extract/ArchiveLibraryWin32.h"
#include "extract/ExtractPackageWin32.h"
#include "platform/GbkText.h"
#include "retrieval/download/RunFolderWin32.h"
#include "state/FormsStateWin32.h"
#include "state/RetrievalState.h"
#include "support/ControlHelpersWin32.h"
#include "support/EnsureFolder.h"
#include "wizard/FolderRules.h"
#include "wizard/InstallTexts.h"
#include "wizard/PageMoveWin32.h"
#include "wizard/ProgramStopWin32.h"

namespace {

void ShowError(HWND form, const char* text, const char* title) { ShowMessageBox(form, text, title, MB_ICONERROR); }

// The folder typed, in GBK. A name without a GBK form (Hangul, say) is held by the short name
// Windows keeps for it, which only a folder that exists has: such a folder is made here, when
// it is shaped as a folder at all. Otherwise the name as shown, which cannot be made.
std::string TypedFolder(HWND edit) {
  std::string folder = GetControlText(edit);
  wchar_t text[MAX_PATH], full[MAX_PATH];
  const int typedLength = folder.empty() ? GetWindowTextW(edit, text, MAX_PATH) : 0;
  if (typedLength == 0 || typedLength >= MAX_PATH - 1) return folder;
  const wchar_t* typed = text;
  while (*typed == L' ' || *typed == L'\t') ++typed;
  const std::string shown = GbkShownFromWide(typed);
  // The full path drops trailing blanks and dots as Windows does when it makes the folder.
  const DWORD length = GetFullPathNameW(typed, MAX_PATH, full, nullptr);
  if (CheckTargetFolder(shown).verdict == FolderVerdict::Accepted && length > 0 && length < MAX_PATH) {
    SHCreateDirectoryExW(nullptr, full, nullptr);
    folder = GbkPathFromWide(full);
  }
  return folder.empty() ? shown : folder;
}

// The folder from the edit box, written back normalised; empty after telling the user why not.
std::string TargetFolder(HWND form) {
  const HWND edit = ControlWindow(kFolderEditId);
  const FolderCheck check = CheckTargetFolder(TypedFolder(edit));
  if (check.verdict != FolderVerdict::Accepted) {
    ShowError(form, FolderCheckMessage(check.verdict), kInstallMessageTitle);
    if (check.verdict == FolderVerdict::BareDrive) ShowPageMove(form, kBareDriveMove);
    return {};
  }
  SetControlText(edit, check.folder);
  return check.folder;
}

}  // namespace

void RunInstallAction(HWND form) {
  const std::string folder = TargetFolder(form);
  if (folder.empty()) return;

  SetControlText(ControlWindow(kProgressHintId), kStoppingProgramsText);
  StopProgramsInFolder(form, folder);
  // Form1 may have been closed during the pause that follows stopped programs.
  if (!IsWindow(form)) return;
  if (!EnsureFolder(folder)) {
    ShowError(form, kCreateFolderErrorMessage, kInstallMessageTitle);
    ShowPageMove(form, kReturnToFolderPageMove);
    return;
  }

  ShowPageMove(form, kExtractionPageMove);
  ObtainArchiveLibrary();
  // A library download shows the download page meanwhile.
  ShowPageMove(form, kExtractionPageMove);
  ShowPageMove(form, kButtonsDisabledMove);
  const bool extracted = ExtractPackage(Package.PackagePath, folder);
  if (AbortRequested == 1 || !IsWindow(form)) {
    ReleaseArchiveLibrary();
    EndProgramNow();
  }
  if (!extracted) {
    ShowError(form, kInstallErrorMessage, "");
    ShowPageMove(form, kReturnToFolderPageMove);
    return;
  }
  ProgressItemText = kExtractionDoneText;
  SetControlText(ControlWindow(kProgressHintId), ProgressItemText);
  ShowPageMove(form, kExtractionDoneMove);
}
