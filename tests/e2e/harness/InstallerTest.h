#pragma once

#include <gtest/gtest.h>

#include <string>

#include "HarnessArguments.h"
#include "InstallerProcess.h"
#include "InstallerWindows.h"
#include "ScreenCapture.h"
#include "TestFiles.h"
#include "TestHostControl.h"

// Fixture for a test that drives one installer at a time. Each test gets fresh TEMP and
// ProgramFiles folders; at tear-down a message box still open fails the test, and the
// installer is terminated if it still runs.
class InstallerTest : public ::testing::Test {
 protected:
  // Makes the test's own TEMP and ProgramFiles folders (once), so a test can put files
  // there before the installer starts.
  void MakeTestFolders();

  // Starts program with the test's own TEMP and ProgramFiles and returns Form1, or null
  // (after a failure is recorded) when it does not appear in time.
  HWND StartInstaller(const std::string& program);

  // The exit code, or a recorded failure when the installer is still running.
  void ExpectExitCode(DWORD expected, int milliseconds = 10000);

  // Saves the client area as <artifacts>\<test name>.bmp when --artifacts= was given.
  void SaveScreenshot(HWND window);

  void TearDown() override;

  // A scratch folder for this test: <test program folder>\scratch\<test name>.
  std::string testFolder;
  std::string tempFolder;
  std::string programFilesFolder;
  InstallerProcess installer;
};
