#include "wizard/NavigationWin32.h"

#include "state/DownloadState.h"
#include "state/ExtractionState.h"
#include "state/RetrievalState.h"
#include "state/WizardState.h"
#include "support/ControlHelpersWin32.h"
#include "support/MessagePumpWin32.h"
#include "wizard/CloseConfirmation.h"
#include "wizard/FinishActionsWin32.h"
#include "wizard/InstallActionWin32.h"
#include "wizard/PageMoveWin32.h"

namespace {

constexpr int kStopDownloadPauseMs = 100;

// The shared flags and the question box, for the close decision.
class Form1CloseHost : public CloseHost {
 public:
  explicit Form1CloseHost(HWND form) : form_(form) {}
  bool DownloadRunning() override { return DownloadState > kDownloadIdle; }
  bool ExtractionRunning() override { return Extracting == 1; }
  bool StopConfirmed() override { return AbortRequested == 1; }
  bool AskYesNo(const char* question) override {
    return ShowMessageBox(form_, question, kCloseQuestionTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }
  void StopDownload() override {
    DownloadState = kDownloadCancelRequested;
    AbortRequested = 1;
    // A plain sleep: the worker gets a moment to see the cancel before Form1 goes.
    Sleep(kStopDownloadPauseMs);
  }
  void StopExtraction() override { AbortRequested = 1; }

 private:
  HWND form_;
};

void RunMoveAction(HWND form, WizardAction action) {
  switch (action) {
    case WizardAction::RunInstallAction: RunInstallAction(form); break;
    case WizardAction::RunFinishActions: RunFinishActions(form); break;
    case WizardAction::PostClose: PostClose(form); break;
    case WizardAction::None: break;
  }
}

}  // namespace

void CarryOutPageMove(HWND form, const PageMove& move) {
  ShowPageMove(form, move);
  RunMoveAction(form, move.action);
}

int OnNextClicked(int, HWND form, HWND, int) {
  CarryOutPageMove(form, NextMove(CurrentPage, Package));
  return 0;
}

int OnBackClicked(int, HWND form, HWND, int) {
  CarryOutPageMove(form, BackMove(CurrentPage, Package));
  return 0;
}

int OnCancelClicked(int, HWND form, HWND, int) {
  CarryOutPageMove(form, CancelMove());
  return 0;
}

int ConfirmClose(HWND form) {
  Form1CloseHost host(form);
  return DecideClose(host);
}
