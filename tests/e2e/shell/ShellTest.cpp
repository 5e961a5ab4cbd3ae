// Form1 as a user meets it: its window, its controls, closing it, and the template
// build's installer copies.
#include "InstallerTest.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

constexpr char kTitle[] = "安装岚舟软件 V3.1.2.525 版";

std::string Installer() { return HarnessArgument("installer"); }
std::string Template() { return HarnessArgument("template"); }

// The package waits in TEMP, so that no installer here downloads (the lzin-99 copy fetches 99.7z).
class ShellTest : public InstallerTest {
 protected:
  void SetUp() override {
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

  // Which of them are shown is the page's business (the wizard suite checks every page).
  const struct {
    int id;
    const char* windowClass;
    const char* caption;
  } controls[] = {
      {kProgressHintId, "Static", "进度条提示"},
      {kLaunchCheckId, "Button", "完成后立即启动软件"},
      {kShortcutCheckId, "Button", "在桌面添加快捷方式"},
      {kBrowseButtonId, "Button", "浏览(&B)....."},
      {kFolderGroupId, "Button", "选择目标文件夹"},
      {kFolderEditId, "Edit", ""},
      {kProgressBarId, "msctls_progress32", ""},
      {kBackButtonId, "Button", "上一步"},
      {kCancelButtonId, "Button", "取消"},
      {kNextButtonId, "Button", "下一步"},
  };
  for (const auto& c : controls) {
    const HWND control = GetDlgItem(form, c.id);
    ASSERT_TRUE(control) << c.id;
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    EXPECT_STREQ(className, c.windowClass) << c.id;
    EXPECT_EQ(WindowText(control), c.caption) << c.id;
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
  struct Box {
    int x, y, width, height;
  };
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

  const auto expectBox = [](HWND window, const Box& box, const char* what) {
    const RECT rect = RectInParent(window);
    EXPECT_EQ(rect.left, box.x) << what;
    EXPECT_EQ(rect.top, box.y) << what;
    EXPECT_EQ(rect.right - rect.left, box.width) << what;
    EXPECT_EQ(rect.bottom - rect.top, box.height) << what;
  };
  expectBox(form, expected->window, "Form1");
  expectBox(GetDlgItem(form, kNextButtonId), expected->next, "Next");
  expectBox(GetDlgItem(form, kCancelButtonId), expected->cancel, "Cancel");
  expectBox(GetDlgItem(form, kFolderEditId), expected->edit, "folder edit box");
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

std::string ExpectedMarker(const std::string& id) { return (id + ".7z     ").substr(0, 6); }

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
  const std::vector<std::string> ids = {"99",  "100", "28",  "47",  "179", "61",  "102", "101", "172",
                                        "39",  "187", "181", "37",  "31",  "40",  "184", "33",  "171",
                                        "185", "34",  "35",  "176", "98",  "182", "38",  "29",  "188"};
  for (const std::string& id : ids) {
    std::string expected = original;
    expected.replace(markerAt, 6, ExpectedMarker(id));
    EXPECT_TRUE(ReadFileBytes(folder + "\\lzin-" + id + ".exe") == expected) << "lzin-" << id << ".exe";
  }
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
