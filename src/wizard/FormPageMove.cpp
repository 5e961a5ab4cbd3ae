#include "wizard/FormPageMove.h"

#include "app/MessageLoop.h"
#include "forms/ControlHelpers.h"
#include "forms/ControlIds.h"
#include "forms/FormsState.h"
#include "retrieval/RetrievalState.h"

namespace {

void ChangeButtons(ButtonChange change) {
  if (change == ButtonChange::Keep) return;
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId, kBrowseButtonId}) {
    const HWND button = ControlWindow(id);
    change == ButtonChange::Enable ? EnableControl(button) : DisableControl(button);
  }
}

}  // namespace

void CarryOutPageMove(HWND form, const PageMove& move) {
  if (const char* caption = CaptionText(move.caption)) SetControlText(ControlWindow(kNextButtonId), caption);
  if (move.folder != FolderFill::Keep) {
    SetControlText(ControlWindow(kFolderEditId), FolderFillText(move.folder, InstallFolder, Package));
  }
  ChangeButtons(move.buttons);
  if (ApplyPageMove(move, Package)) RefreshWindow(form);
}
