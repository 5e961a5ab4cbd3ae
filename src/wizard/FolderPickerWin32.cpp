#include "wizard/FolderPickerWin32.h"

#include <shlobj.h>

#include "contracts/ControlIds.h"
#include "platform/GbkText.h"
#include "state/FormsStateWin32.h"
#include "state/RetrievalState.h"
#include "support/ControlHelpersWin32.h"
#include "support/ScopedWin32.h"
#include "wizard/FolderPickerRules.h"

static_assert(kFolderPickerFlags == (BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_RETURNFSANCESTORS |
                                     BIF_EDITBOX | BIF_NEWDIALOGSTYLE));

namespace {

// The item list's file-system path, or empty text when it has none.
std::string PathOf(PCIDLIST_ABSOLUTE items) {
  wchar_t path[MAX_PATH] = L"";
  if (!items || !SHGetPathFromIDListW(items, path)) return {};
  return GbkPathFromWide(path);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM itemData, LPARAM initialFolder) {
  const std::string selection =
      message == BFFM_SELCHANGED ? PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(itemData)) : std::string();
  switch (PickerCallbackReply(message, selection)) {
    case PickerReply::SelectInitialFolder: SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, initialFolder); break;
    case PickerReply::DisableOk: SendMessageW(dialog, BFFM_ENABLEOK, 0, 0); break;
    case PickerReply::Nothing: break;
  }
  return 0;
}

}  // namespace

std::string BrowseForFolder(HWND owner, const std::string& title, const std::string& initialFolder) {
  // The new-style picker needs COM on this thread.
  ScopedCom com;
  const WideText wideTitle(title), wideInitialFolder(initialFolder);
  BROWSEINFOW request{};
  request.hwndOwner = owner;
  request.lpszTitle = wideTitle;
  request.ulFlags = kFolderPickerFlags;
  request.lpfn = BrowseCallback;
  request.lParam = reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(wideInitialFolder));
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&request);
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
