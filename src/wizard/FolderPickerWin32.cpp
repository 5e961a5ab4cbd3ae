#include "wizard/FolderPickerWin32.h"

#include <shlobj.h>

#include "support/ControlHelpers.h"
#include "contracts/ControlIds.h"
#include "state/FormsState.h"
#include "state/RetrievalState.h"
#include "support/ScopedWin.h"
#include "wizard/FolderPickerRules.h"

namespace {

// The item list's file-system path, or empty text when it has none.
std::string PathOf(PCIDLIST_ABSOLUTE items) {
  char path[MAX_PATH] = "";
  if (!items || !SHGetPathFromIDListA(items, path)) return {};
  return path;
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM itemData, LPARAM initialFolder) {
  const std::string selection =
      message == BFFM_SELCHANGED ? PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(itemData)) : std::string();
  switch (PickerCallbackReply(message, selection)) {
    case PickerReply::SelectInitialFolder: SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, initialFolder); break;
    case PickerReply::DisableOk: SendMessageA(dialog, BFFM_ENABLEOK, 0, 0); break;
    case PickerReply::Nothing: break;
  }
  return 0;
}

}  // namespace

std::string BrowseForFolder(HWND owner, const std::string& title, const std::string& initialFolder) {
  // The new-style picker needs COM on this thread.
  ScopedCom com;
  BROWSEINFOA request{};
  request.hwndOwner = owner;
  request.lpszTitle = title.c_str();
  request.ulFlags = kFolderPickerFlags;
  request.lpfn = BrowseCallback;
  request.lParam = reinterpret_cast<LPARAM>(initialFolder.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&request);
  const std::string path = PathOf(chosen);
  if (chosen) CoTaskMemFree(chosen);
  return path;
}

int OnBrowseClicked(int, HWND form, HWND, int) {
  const HWND edit = ControlWindow(kFolderEditId);
  const std::string chosen = BrowseForFolder(form, FolderPickerTitle(Package.PackageTitle), GetControlText(edit));
  // Exactly as chosen: no "\" and no package folder is added; a cancel changes nothing.
  if (!chosen.empty()) SetControlText(edit, chosen);
  return 0;
}
