#include "wizard/PageMoveWin32.h"

#include "contracts/ControlIds.h"
#include "state/FormsStateWin32.h"
#include "state/RetrievalState.h"
#include "support/ControlHelpersWin32.h"
#include "support/MessagePumpWin32.h"

namespace {

void ChangeButtons(ButtonChange change) {
  if (change == ButtonChange::Keep) return;
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId, kBrowseButtonId}) {
    if (change == ButtonChange::Enable) {
      EnableControl(ControlWindow(id));
    } else {
      DisableControl(ControlWindow(id));
    }
  }
}

}  // namespace

void ShowPageMove(HWND form, const PageMove& move) {
  if (move.folder != FolderFill::Keep) {
    SetControlText(ControlWindow(kFolderEditId), FolderFillText(move.folder, InstallFolder, Package));
  }
  if (const char* caption = CaptionText(move.caption)) SetControlText(ControlWindow(kNextButtonId), caption);
  ChangeButtons(move.buttons);
  if (ApplyPageMove(move, Package)) RefreshWindow(form);
}
