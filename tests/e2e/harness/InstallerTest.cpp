#include "InstallerTest.h"

#include <cstdlib>
#include <sstream>

void InstallerTest::PrepareTestFolders() {
  if (!testFolder.empty()) return;
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  testFolder = FreshFolder(std::string(test->test_suite_name()) + "." + test->name());
  tempFolder = testFolder + "\\temp";
  programFilesFolder = testFolder + "\\programs";
  MakeFolders(tempFolder);
  MakeFolders(programFilesFolder);
}

void InstallerTest::NewRun() {
  installer.Terminate();
  RestoreServedFiles();
  testFolder.clear();
  PrepareTestFolders();
}

HWND InstallerTest::StartInstaller(InstallerProcess& process, const std::string& program, bool expected) {
  PrepareTestFolders();
  // A 64-bit installer (the build for machines that run no 32-bit code) takes its ProgramFiles
  // from ProgramW6432.
  if (!process.Start(program, {{"TEMP", tempFolder},
                               {"TMP", tempFolder},
                               {"ProgramFiles", programFilesFolder},
                               {"ProgramW6432", programFilesFolder}})) {
    ADD_FAILURE() << "cannot start " << program << " (error " << GetLastError() << ")";
    return nullptr;
  }
  const HWND form = WaitForForm1(process.Id(), expected ? 20000 : 5000);
  if (!form && expected) ADD_FAILURE() << "Form1 of " << program << " did not appear";
  return form;
}

void InstallerTest::ExpectExitCode(DWORD expected, int milliseconds) {
  const auto code = installer.WaitForExit(milliseconds);
  ASSERT_TRUE(code.has_value()) << "the installer is still running after " << milliseconds << " ms";
  EXPECT_EQ(*code, expected);
}

MessageBoxInfo InstallerTest::ExpectMessageBox(const std::string& title, int milliseconds) {
  const auto box = WaitForMessageBox(installer.Id(), milliseconds);
  EXPECT_EQ(box ? box->title : "(no message box)", title);
  return box.value_or(MessageBoxInfo{});
}

void InstallerTest::Answer(const MessageBoxInfo& box, int buttonId) {
  PressMessageBoxButton(box, buttonId);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }, 5000)) << "the message box stays";
}

void InstallerTest::ExpectMessage(const std::string& title, const std::string& text) {
  const MessageBoxInfo box = ExpectMessageBox(title);
  EXPECT_EQ(box.text, text);
  Answer(box, box.buttons.empty() ? IDOK : box.buttons.front());
}

std::string InstallerTest::RunFile(const std::string& name) const { return RunFileIn(tempFolder, name); }

bool InstallerTest::ServeInstead(const std::string& servedPath, const std::string& bytes) {
  if (!replacedFiles_.count(servedPath)) replacedFiles_[servedPath] = ReadFileBytes(servedPath);
  return WriteFileBytes(servedPath, bytes);
}

void InstallerTest::RestoreServedFiles() {
  for (const auto& [path, bytes] : replacedFiles_) EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
  replacedFiles_.clear();
}

bool InstallerTest::WaitForWelcomePage(HWND form, const std::string& served, const std::string& package,
                                       int milliseconds) {
  const bool welcome = form && WaitUntil(
                                   [&] {
                                     const std::string path = RunFile(package);
                                     return IsWindowVisible(GetDlgItem(form, kNextButtonId)) &&
                                            !IsWindowVisible(GetDlgItem(form, kProgressBarId)) && !path.empty() &&
                                            (served.empty() ? FileExists(path) : ReadFileBytes(path) == served);
                                   },
                                   milliseconds);
  EXPECT_TRUE(welcome) << "no welcome page with " << package << " in the run's folder after the download";
  return welcome;
}

std::vector<std::string> InstallerTest::WaitForLaunchReport(const std::string& program, int milliseconds) {
  const std::string report = program.substr(0, program.find_last_of('\\') + 1) + "launched.txt";
  std::vector<std::string> lines;
  // The probe writes its lines at once, when it closes the file.
  WaitUntil(
      [&] {
        std::istringstream text(ReadFileBytes(report));
        lines.clear();
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines.size() == 3;
      },
      milliseconds);
  if (lines.size() != 3) return {};
  DWORD shell = 0;  // Explorer, which draws Wine's desktop window
  GetWindowThreadProcessId(GetDesktopWindow(), &shell);
  const DWORD parent = std::strtoul(lines[2].c_str(), nullptr, 10);
  // The installer may have ended by now; its id stays reserved while the test holds it.
  lines[2] = parent == shell ? "desktop shell" : parent == installer.Id() ? "installer" : lines[2];
  return lines;
}

bool InstallerTest::WaitForFinishPage(HWND form, int milliseconds) {
  std::string box;
  const bool finished = WaitUntil(
      [&] {
        for (const MessageBoxInfo& info : FindMessageBoxes(installer.Id())) box = info.title + ": " + info.text;
        return !box.empty() || WindowText(GetDlgItem(form, kNextButtonId)) == "完成";
      },
      milliseconds);
  EXPECT_TRUE(finished && box.empty()) << "no finish page; message box [" << box << "]";
  return finished && box.empty();
}

bool InstallerTest::Steer(const std::string& options) {
  steered_ = true;
  return SteerTestHost(options);
}

void InstallerTest::TearDown() {
  if (installer.IsRunning()) {
    for (const MessageBoxInfo& box : FindMessageBoxes(installer.Id())) {
      ADD_FAILURE() << "a message box was left open: [" << box.title << "] " << box.text;
    }
  }
  installer.Terminate();
  RestoreServedFiles();
  if (steered_) SteerTestHost("");
}
