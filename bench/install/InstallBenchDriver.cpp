// Drives the installer through one installation and prints how long it took, from the
// start of the program to its finish page (package download, library download, unpacking),
// and its two parts: up to the welcome page, and from the folder page's Next to the finish page.
//   install-bench-driver --installer=<exe> --scratch=<folder>
#include <windows.h>

#include <cstdio>
#include <string>

#include "Harness.h"

namespace {

constexpr int kStepTimeout = 600000;

int Fail(const char* what) {
  std::fprintf(stderr, "install-bench-driver: %s\n", what);
  return 1;
}

bool NoMessageBox(DWORD processId) { return FindMessageBoxes(processId).empty(); }

}  // namespace

int main() {
  const std::string scratch = HarnessArgument("scratch");
  const std::string temp = scratch + "\\temp", programs = scratch + "\\programs", target = scratch + "\\target";
  MakeFolders(temp);
  MakeFolders(programs);

  InstallerProcess installer;
  const DWORD start = GetTickCount();
  if (!installer.Start(HarnessArgument("installer"), {{"TEMP", temp}, {"TMP", temp}, {"ProgramFiles", programs}})) {
    return Fail("cannot start the installer");
  }
  const HWND form = WaitForForm1(installer.Id(), 20000);
  if (!form) return Fail("no Form1");
  const HWND next = GetDlgItem(form, kNextButtonId);
  const HWND edit = GetDlgItem(form, kFolderEditId);

  // The welcome page follows the package download.
  if (!WaitUntil([&] { return FileExists(RunFileIn(temp, "188.7z")) && IsWindowVisible(next); }, kStepTimeout)) {
    return Fail("no welcome page");
  }
  const DWORD welcome = GetTickCount() - start;
  Click(next);
  if (!WaitUntil([&] { return !WindowText(edit).empty(); }, 10000)) return Fail("no folder page");
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
  Click(next);
  const DWORD unpackStart = GetTickCount();
  if (!WaitUntil([&] { return WindowText(next) == "完成" || !NoMessageBox(installer.Id()); }, kStepTimeout) ||
      !NoMessageBox(installer.Id())) {
    return Fail("no finish page");
  }
  const DWORD end = GetTickCount();
  std::printf("installer end to end: %lu ms (start to welcome page: %lu ms, library and unpacking: %lu ms)\n",
              static_cast<unsigned long>(end - start), static_cast<unsigned long>(welcome),
              static_cast<unsigned long>(end - unpackStart));
  std::fflush(stdout);
  Click(GetDlgItem(form, kCancelButtonId));
  installer.WaitForExit(30000);
  return 0;
}
