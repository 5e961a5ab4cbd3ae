// Walks an installer through its whole wizard as a person would, saving a picture of every
// page: demo-driver.exe <installer> <screenshot folder>. Prints the install folder on
// success; any message box or a page that does not come in time ends the run with code 1.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include "Harness.h"

namespace {

constexpr int kPageTimeout = 60000;

bool Visible(HWND form, int id) { return IsWindowVisible(GetDlgItem(form, id)) != FALSE; }

// Each page is told apart by the controls the wizard shows on it.
bool OnDownloadPage(HWND form) { return Visible(form, kProgressBarId) && !Visible(form, kNextButtonId); }
bool OnWelcomePage(HWND form) {
  return Visible(form, kNextButtonId) && !Visible(form, kBackButtonId) && !Visible(form, kProgressBarId);
}
bool OnFolderPage(HWND form) { return Visible(form, kFolderEditId); }
bool OnExtractionPage(HWND form) {
  return Visible(form, kBackButtonId) && Visible(form, kProgressBarId) && !Visible(form, kFolderEditId);
}
bool OnFinishPage(HWND form) { return Visible(form, kLaunchCheckId); }

class Driver {
 public:
  Driver(std::string installer, std::string shots) : installer_(std::move(installer)), shots_(std::move(shots)) {}

  bool Run() {
    if (!process_.Start(installer_, {})) return Fail("cannot start " + installer_);
    form_ = WaitForForm1(process_.Id(), 20000);
    if (!form_) return Fail("the installer window did not appear");

    // The download page shows only while the package arrives (the demo's hosts send it slowly).
    if (WaitFor(OnDownloadPage, 10000, "download page")) Shoot("1-download");
    if (!WaitFor(OnWelcomePage, kPageTimeout, "welcome page")) return false;
    Shoot("2-welcome");
    Click(GetDlgItem(form_, kNextButtonId));

    if (!WaitFor(OnFolderPage, kPageTimeout, "folder page")) return false;
    Shoot("3-folder");
    installFolder_ = WindowText(GetDlgItem(form_, kFolderEditId));
    Click(GetDlgItem(form_, kNextButtonId));

    if (!WaitFor(OnFinishPage, kPageTimeout, "finish page")) return false;
    // Unpacking a small package is over at once; Back shows its page again.
    Click(GetDlgItem(form_, kBackButtonId));
    if (!WaitFor(OnExtractionPage, kPageTimeout, "extraction page")) return false;
    Shoot("4-extraction");
    Click(GetDlgItem(form_, kNextButtonId));
    if (!WaitFor(OnFinishPage, kPageTimeout, "finish page")) return false;
    Shoot("5-finish");
    installFolder_ = WindowText(GetDlgItem(form_, kFolderEditId));
    Click(GetDlgItem(form_, kNextButtonId));

    const auto code = process_.WaitForExit(kPageTimeout);
    if (!code) return Fail("the installer did not close after the finish page");
    if (*code != 0) return Fail("the installer ended with exit code " + std::to_string(*code));
    return ShootStartedProgram();
  }

  const std::string& InstallFolder() const { return installFolder_; }

 private:
  bool WaitFor(bool (*onPage)(HWND), int milliseconds, const char* page) {
    bool reached = WaitUntil(
        [&] {
          if (!FindMessageBoxes(process_.Id()).empty()) return true;
          return onPage(form_);
        },
        milliseconds);
    for (const MessageBoxInfo& box : FindMessageBoxes(process_.Id())) {
      return Fail("the installer showed a message: [" + box.title + "] " + box.text);
    }
    if (!reached) Fail(std::string("the ") + page + " did not come");
    return reached;
  }

  bool ShootStartedProgram() {
    HWND sample = nullptr;
    WaitUntil(
        [&] { return (sample = FindWindowA("LzSampleAppWindow", nullptr)) != nullptr && IsWindowVisible(sample); },
        20000);
    if (!sample) return Fail("the installed program did not start");
    Sleep(500);  // let it paint
    Shoot("6-started", sample);
    PostMessageA(sample, WM_CLOSE, 0, 0);
    return true;
  }

  void Shoot(const std::string& name, HWND window = nullptr) {
    Sleep(300);  // the page's own repaint comes first
    SavePng(CaptureClientArea(window ? window : form_), shots_ + "\\" + name + ".png");
  }

  bool Fail(const std::string& why) {
    std::fprintf(stderr, "demo-driver: %s\n", why.c_str());
    return false;
  }

  std::string installer_;
  std::string shots_;
  InstallerProcess process_;
  HWND form_ = nullptr;
  std::string installFolder_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: demo-driver.exe <installer> <screenshot folder>\n");
    return 2;
  }
  const std::string shots = WindowsPathFromUnix(argv[2]);
  MakeFolders(shots);
  Driver driver(WindowsPathFromUnix(argv[1]), shots);
  if (!driver.Run()) return 1;
  std::printf("%s\n", driver.InstallFolder().c_str());
  return 0;
}
