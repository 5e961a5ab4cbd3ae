#pragma once

#include <string>

#include "InstallerTest.h"

// The wizard with a package already in TEMP under the marker's name, so no download runs.
class WizardTest : public InstallerTest {
 protected:
  // The package's title and the folder the wizard offers for it.
  static constexpr const char* kTitle = "岚舟 画图";
  static constexpr const char* kExtractOnlyFolderName = "素材合集";

  HWND StartWithPackage(const std::string& program, const std::string& package);
  std::string OfferedFolder(const std::string& name) const { return programFilesFolder + "\\" + name; }

  // Next, Cancel, Back, group box, Browse, edit box, progress bar, hint label, launch and
  // shortcut check boxes: S shown, H hidden.
  static std::string VisibleControls(HWND form);
  // Clicks a button and waits until the page's controls are as given; then lets the paint end.
  static bool ClickAndWaitForPage(HWND form, int buttonId, const std::string& visible);
  static bool WaitForPage(HWND form, const std::string& visible);
};

inline constexpr char kWelcomeRow[] = "SSHHHHHHHH";
inline constexpr char kFolderRow[] = "SSSSSSHHHH";
inline constexpr char kExtractionRow[] = "SSSHHHSSHH";
inline constexpr char kFinishRow[] = "SSSHHHHHSS";
inline constexpr char kExtractOnlyFinishRow[] = "SSSHHHHHHH";

std::string Installer();
std::string SkipExtractionInstaller();
std::string OrdinaryPackage();
std::string ExtractOnlyPackage();
std::string LaunchProbe();
