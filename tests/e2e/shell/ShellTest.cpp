// Form1 as a user meets it: its window, its controls, closing it, and the template
// build's installer copies.
#include "InstallerTest.h"
#include "forms/Form1Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

namespace {

constexpr char kTitle[] = "安装岚舟软件 V3.1.2.525 版";

std::string Installer() { return HarnessArgument("installer"); }
std::string Template() { return HarnessArgument("template"); }

// The package waits in TEMP, so that no installer here downloads (the lzin-99 copy fetches 99.7z).
// An installer that ends deletes it: a test that starts several places it again each time.
class ShellTest : public InstallerTest {
 protected:
  void SetUp() override { PlacePackages(); }
  void PlacePackages() {
    PrepareTestFolders();
    for (const char* name : {"188.7z", "99.7z"}) {
      ASSERT_TRUE(CopyFileA(HarnessArgument("package").c_str(), (tempFolder + "\\" + name).c_str(), FALSE));
    }
  }
};

TEST_F(ShellTest, ShowsTitleAndItsControls) {
  const HWND form = StartInstaller(Installer());
  ASSERT_TRUE(form);
  EXPECT_EQ(WindowText(form), kTitle);
  EXPECT_TRUE(GetWindowLongA(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongA(form, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));

  // Each row of the control table is made as it says; which are shown is the page's
  // business (the wizard suite checks every page).
  for (const ControlRow& row : kForm1Controls) {
    const HWND control = GetDlgItem(form, row.id);
    ASSERT_TRUE(control) << row.id;
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    EXPECT_STRCASEEQ(className, row.windowClass) << row.id;
    EXPECT_EQ(WindowText(control), row.caption) << row.id;
  }
  EXPECT_EQ(SendMessageA(GetDlgItem(form, kLaunchCheckId), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(GetDlgItem(form, kShortcutCheckId), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(GetDlgItem(form, kProgressBarId), PBM_GETPOS, 0, 0), 80);
  EXPECT_EQ(SendMessageA(GetDlgItem(form, kProgressBarId), PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_GE(SendMessageA(GetDlgItem(form, kFolderEditId), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
  SaveScreenshot(form);
}

TEST_F(ShellTest, ScalesGeometryWithTheScreenDpi) {
  const HWND form = StartInstaller(Installer());
  ASSERT_TRUE(form);
  using Box = std::array<long, 4>;  // x, y, width, height
  const struct {
    int dpi;
    Box window, next, cancel, edit;
  } expectations[] = {
      {96, {458, 224, 450, 320}, {293, 256, 63, 24}, {367, 256, 63, 24}, {23, 175, 396, 21}},
      {120, {402, 184, 562, 400}, {366, 320, 79, 30}, {459, 320, 79, 30}, {29, 219, 495, 26}},
  };
  const int dpi = ScreenDpi();
  const auto expected = std::find_if(std::begin(expectations), std::end(expectations),
                                     [&](const auto& e) { return e.dpi == dpi; });
  ASSERT_NE(expected, std::end(expectations)) << "no expectations for " << dpi << " dpi";
  const auto boxOf = [](HWND window) {
    const RECT r = RectInParent(window);
    return Box{r.left, r.top, r.right - r.left, r.bottom - r.top};
  };
  EXPECT_EQ(boxOf(form), expected->window) << "Form1";
  EXPECT_EQ(boxOf(GetDlgItem(form, kNextButtonId)), expected->next) << "Next";
  EXPECT_EQ(boxOf(GetDlgItem(form, kCancelButtonId)), expected->cancel) << "Cancel";
  EXPECT_EQ(boxOf(GetDlgItem(form, kFolderEditId)), expected->edit) << "folder edit box";
}

TEST_F(ShellTest, EscCancelAndTheCloseBoxEndWithExitCodeZero) {
  const struct {
    const char* how;
    void (*close)(HWND form);
  } ways[] = {
      {"Esc", [](HWND form) { PressKey(GetDlgItem(form, kNextButtonId), VK_ESCAPE); }},
      {"Cancel", [](HWND form) { Click(GetDlgItem(form, kCancelButtonId)); }},
      {"close box", [](HWND form) { PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    PlacePackages();
    const HWND form = StartInstaller(Installer());
    ASSERT_TRUE(form);
    way.close(form);
    ExpectExitCode(0);
  }
}

TEST_F(ShellTest, EnterOnTheCheckBoxDoesNotClose) {
  const HWND form = StartInstaller(Installer());
  ASSERT_TRUE(form);
  PressKey(GetDlgItem(form, kLaunchCheckId), VK_RETURN);
  EXPECT_FALSE(installer.WaitForExit(1000).has_value());
  EXPECT_TRUE(IsWindow(form));
}

TEST_F(ShellTest, StoresTheMarkerExactlyOnce) {
  const struct {
    std::string program;
    const char* marker;
  } builds[] = {{Installer(), "188.7z"}, {Template(), "???.7z"}};
  for (const auto& build : builds) {
    const std::string content = ReadFileBytes(build.program);
    ASSERT_FALSE(content.empty()) << build.program;
    const auto first = content.find(build.marker);
    EXPECT_NE(first, std::string::npos) << build.program;
    EXPECT_EQ(content.find(build.marker, first + 1), std::string::npos) << build.program;
  }
}

// D:\岚舟软件 is made when drive D: exists; the suite runs with and without it.
TEST_F(ShellTest, MakesTheInstallFolderOnDriveDWhenThereIsOne) {
  const bool driveD = GetDriveTypeA("D:\\") != DRIVE_NO_ROOT_DIR;
  const HWND form = StartInstaller(Installer());
  ASSERT_TRUE(form);
  EXPECT_EQ(FolderExists("D:\\岚舟软件"), driveD);
}

TEST_F(ShellTest, TemplateWritesOneInstallerPerPackage) {
  const std::string folder = FreshFolder("TemplateCopies");
  const std::string program = folder + "\\installer-template.exe";
  ASSERT_TRUE(CopyFileA(Template().c_str(), program.c_str(), FALSE));
  const HWND form = StartInstaller(program);
  ASSERT_TRUE(form);
  EXPECT_EQ(WindowText(form), kTitle);

  const std::string original = ReadFileBytes(program);
  const auto markerAt = original.find("???.7z");
  ASSERT_NE(markerAt, std::string::npos);
  // Each copy is the template with the marker patched to its id (the ids are the native
  // suite's).
  size_t copies = 0;
  for (const auto& [name, bytes] : TreeOf(folder)) {
    if (name == "installer-template.exe") continue;
    ++copies;
    const std::string id = name.substr(5, name.size() - 9);  // lzin-<id>.exe
    std::string expected = original;
    EXPECT_TRUE(bytes == expected.replace(markerAt, 6, (id + ".7z     ").substr(0, 6))) << name;
  }
  EXPECT_EQ(copies, 27u);
  EXPECT_TRUE(FindMessageBoxes(installer.Id()).empty());
  Click(GetDlgItem(form, kCancelButtonId));
  ExpectExitCode(0);

  // A copy reads its own patched marker: it is a normal installer and writes no copies.
  const std::string copyFolder = FreshFolder("TemplateCopyRuns");
  const std::string copy = copyFolder + "\\lzin-99.exe";
  ASSERT_TRUE(CopyFileA((folder + "\\lzin-99.exe").c_str(), copy.c_str(), FALSE));
  ASSERT_TRUE(StartInstaller(copy));
  EXPECT_FALSE(FileExists(copyFolder + "\\lzin-100.exe"));
}

}  // namespace
