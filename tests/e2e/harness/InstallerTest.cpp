#include "InstallerTest.h"

namespace {

constexpr int kForm1Timeout = 20000;

std::string CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

}  // namespace

void InstallerTest::MakeTestFolders() {
  if (!testFolder.empty()) return;
  testFolder = FreshFolder(CurrentTestName());
  tempFolder = testFolder + "\\temp";
  programFilesFolder = testFolder + "\\programs";
  CreateDirectoryA(tempFolder.c_str(), nullptr);
  CreateDirectoryA(programFilesFolder.c_str(), nullptr);
}

HWND InstallerTest::StartInstaller(const std::string& program) {
  MakeTestFolders();
  if (!installer.Start(program, {{"TEMP", tempFolder}, {"TMP", tempFolder}, {"ProgramFiles", programFilesFolder}})) {
    ADD_FAILURE() << "cannot start " << program << " (error " << GetLastError() << ")";
    return nullptr;
  }
  const HWND form = WaitForForm1(installer.Id(), kForm1Timeout);
  if (!form) ADD_FAILURE() << "Form1 of " << program << " did not appear";
  return form;
}

void InstallerTest::ExpectExitCode(DWORD expected, int milliseconds) {
  const auto code = installer.WaitForExit(milliseconds);
  ASSERT_TRUE(code.has_value()) << "the installer is still running after " << milliseconds << " ms";
  EXPECT_EQ(*code, expected);
}

void InstallerTest::SaveScreenshot(HWND window) {
  const std::string folder = HarnessArgument("artifacts");
  if (folder.empty()) return;
  MakeFolders(folder);
  SaveBmp(CaptureClientArea(window), folder + "\\" + CurrentTestName() + ".bmp");
}

void InstallerTest::TearDown() {
  if (installer.IsRunning()) {
    for (const MessageBoxInfo& box : FindMessageBoxes(installer.Id())) {
      ADD_FAILURE() << "a message box was left open: [" << box.title << "] " << box.text;
    }
  }
  installer.Terminate();
}
