// The finish page's shortcut and launch, through the test build that reaches it without
// unpacking: the program is put into the folder by the test instead.
#include <shlobj.h>

#include "WizardFixture.h"

namespace {

struct ShortcutFields {
  std::string target, workingFolder, description;
};

// The .lnk as the shell reads it back; nothing when it cannot be loaded.
std::optional<ShortcutFields> ReadShortcut(const std::string& path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return std::nullopt;
  }
  std::optional<ShortcutFields> fields;
  IPersistFile* file = nullptr;
  wchar_t widePath[MAX_PATH] = L"";
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(widePath, STGM_READ))) {
    char target[MAX_PATH] = "", folder[MAX_PATH] = "", description[MAX_PATH] = "";
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetDescription(description, MAX_PATH);
    fields = ShortcutFields{target, folder, description};
  }
  if (file) file->Release();
  link->Release();
  return fields;
}

std::string DesktopLink(const char* title) {
  char desktop[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, desktop);
  return std::string(desktop) + "\\" + title + ".lnk";
}

class FinishTest : public WizardTest {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    link = DesktopLink(kTitle);
    DeleteFileA(link.c_str());
  }
  void TearDown() override {
    WizardTest::TearDown();
    DeleteFileA(link.c_str());
    CoUninitialize();
  }

  // Starts the test build, puts the program where the package would have put it and goes
  // to the finish page.
  HWND ReachFinishPage() {
    const HWND form = StartWithPackage(SkipExtractionInstaller(), OrdinaryPackage());
    if (!form) return nullptr;
    folder = OfferedFolder(kTitle) + "\\";
    MakeFolders(folder + "bin");
    EXPECT_TRUE(CopyFileA(LaunchProbe().c_str(), (folder + "bin\\LaunchProbe.exe").c_str(), FALSE));
    EXPECT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFolderRow)) << VisibleControls(form);
    EXPECT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFinishRow)) << VisibleControls(form);
    return form;
  }

  std::string link;
  std::string folder;  // with its trailing "\"
};

TEST_F(FinishTest, WritesTheShortcutAndStartsTheProgramInItsFolder) {
  const HWND form = ReachFinishPage();
  ASSERT_TRUE(form);
  Click(GetDlgItem(form, kNextButtonId));
  ExpectExitCode(0);

  const auto shortcut = ReadShortcut(link);
  ASSERT_TRUE(shortcut.has_value()) << "no shortcut at " << link;
  EXPECT_EQ(shortcut->target, folder + "bin\\LaunchProbe.exe");
  EXPECT_EQ(shortcut->workingFolder, folder);
  EXPECT_EQ(shortcut->description, "一个画图工具");

  const std::string report = folder + "bin\\launched.txt";
  ASSERT_TRUE(WaitUntil([&] { return !ReadFileBytes(report).empty(); }, 10000)) << "the program did not start";
  const std::string launched = ReadFileBytes(report);
  const std::string workingFolder = launched.substr(0, launched.find('\n'));
  const std::string parameters = launched.substr(launched.find('\n') + 1);
  // The current directory reads back without its trailing "\".
  EXPECT_EQ(workingFolder + "\\", folder);
  EXPECT_EQ(parameters, folder + "\n");  // unquoted, though the folder has a space
}

TEST_F(FinishTest, WithBothBoxesClearedNothingIsWrittenOrStarted) {
  const HWND form = ReachFinishPage();
  ASSERT_TRUE(form);
  for (const int id : {kShortcutCheckId, kLaunchCheckId}) {
    const HWND box = GetDlgItem(form, id);
    Click(box);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 3000)) << id;
  }
  Click(GetDlgItem(form, kNextButtonId));
  ExpectExitCode(0);
  // A started program would write its report within this.
  EXPECT_FALSE(WaitUntil([&] { return FileExists(folder + "bin\\launched.txt"); }, 1000));
  EXPECT_FALSE(FileExists(link));
}

}  // namespace
