#include "WizardFixture.h"

std::string Installer() { return HarnessArgument("installer"); }
std::string SkipExtractionInstaller() { return HarnessArgument("skip-extraction"); }
std::string OrdinaryPackage() { return HarnessArgument("package"); }
std::string ExtractOnlyPackage() { return HarnessArgument("extract-only-package"); }
std::string LaunchProbe() { return HarnessArgument("probe"); }

HWND WizardTest::StartWithPackage(const std::string& program, const std::string& package) {
  PrepareTestFolders();
  if (!CopyFileA(package.c_str(), (tempFolder + "\\188.7z").c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy " << package;
    return nullptr;
  }
  const HWND form = StartInstaller(program);
  if (form && !WaitForPage(form, kWelcomeRow)) ADD_FAILURE() << "no welcome page: " << VisibleControls(form);
  return form;
}

std::string WizardTest::VisibleControls(HWND form) {
  std::string row;
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId, kFolderGroupId,
                       kBrowseButtonId, kFolderEditId, kProgressBarId, kProgressHintId,
                       kLaunchCheckId, kShortcutCheckId}) {
    row += IsWindowVisible(GetDlgItem(form, id)) ? 'S' : 'H';
  }
  return row;
}

bool WizardTest::WaitForPage(HWND form, const std::string& visible) {
  const bool reached = WaitUntil([&] { return VisibleControls(form) == visible; }, 5000);
  // The row is applied at the start of a paint; the page reaches the screen at its end.
  Sleep(300);
  return reached;
}

bool WizardTest::ClickAndWaitForPage(HWND form, int buttonId, const std::string& visible) {
  Click(GetDlgItem(form, buttonId));
  return WaitForPage(form, visible);
}
