#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Harness.h"

// Fixture for a test that drives one installer at a time. Each test gets fresh TEMP and
// ProgramFiles folders; at tear-down a message box still open fails the test, and the
// installer is terminated if it still runs.
class InstallerTest : public ::testing::Test {
 protected:
  // A step of the installer (a download, an extraction) ends within this.
  static constexpr int kStepTimeout = 30000;

  // Makes testFolder, tempFolder and programFilesFolder once per test, so a test can put
  // files there before the installer starts.
  void PrepareTestFolders();
  // For the next row of a table: ends the installer and empties the test's folders.
  void NewRun();

  // Starts program with the test's own TEMP and ProgramFiles and returns Form1, or null
  // (after a failure is recorded) when it does not appear in time.
  HWND StartInstaller(const std::string& program) { return StartInstaller(installer, program, true); }
  // The same for another process; without `expected`, no Form1 is no failure.
  HWND StartInstaller(InstallerProcess& process, const std::string& program, bool expected);

  // The exit code, or a recorded failure when the installer is still running.
  void ExpectExitCode(DWORD expected, int milliseconds = 10000);

  // The message box that comes within milliseconds, titled title; else a recorded failure
  // and an empty box.
  MessageBoxInfo ExpectMessageBox(const std::string& title, int milliseconds = kStepTimeout);

  // Presses the button and waits until the box has gone.
  void Answer(const MessageBoxInfo& box, int buttonId);

  // The message box that must come now, with this title and text; answered with its first
  // button.
  void ExpectMessage(const std::string& title, const std::string& text);

  // The path of name in the run's own folder, the one folder the installer made in TEMP;
  // empty text while there is none.
  std::string RunFile(const std::string& name) const;

  // Serves bytes under the test host's file servedPath until the next run or the end of the
  // test, when the file it replaced comes back.
  bool ServeInstead(const std::string& servedPath, const std::string& bytes);

  // The welcome page once the package download is over: Next shown, the progress bar gone
  // and <package> in the run's folder, holding served when that is given; else a recorded failure.
  bool WaitForWelcomePage(HWND form, const std::string& served = "", const std::string& package = "188.7z",
                          int milliseconds = kStepTimeout);

  // The finish page (Next reads "完成"), or a recorded failure naming the message box that
  // came instead.
  bool WaitForFinishPage(HWND form, int milliseconds = kStepTimeout);

  // What the launch probe at program wrote once it has, within milliseconds: its working
  // folder, its parameter string, and who started it: "installer", "desktop shell" or another
  // process's id. Nothing when it has not written.
  std::vector<std::string> WaitForLaunchReport(const std::string& program, int milliseconds = 10000);

  // Steers the test download host (see SteerTestHost); tear-down then restores the plain
  // file server.
  bool Steer(const std::string& options);

  void TearDown() override;

  // A scratch folder for this test: <test program folder>\scratch\<test name>.
  std::string testFolder;
  std::string tempFolder;
  std::string programFilesFolder;
  InstallerProcess installer;

 private:
  void RestoreServedFiles();

  bool steered_ = false;
  std::map<std::string, std::string> replacedFiles_;  // served path -> its own bytes
};
