// Form1 as a user meets it: its geometry, closing it, and the template build's installer
// copies. Its control table is not restated: each page's controls are the wizard suite's.
#include "InstallerTest.h"

#include <algorithm>
#include <array>

namespace {

constexpr char kTitle[] = "安装岚舟软件 V3.1.2.525 版";

// The hosts serve a small package as 188.7z and as 99.7z, which the lzin-99 copy fetches.
using ShellTest = InstallerTest;

// Form1 and its buttons scale with the screen's DPI; D:\岚舟软件 is made when drive D:
// exists. The suite runs at 96 and 120 dpi, with and without drive D:.
TEST_F(ShellTest, ScalesGeometryAndMakesTheFolderOnDriveD) {
  const bool driveD = GetDriveTypeA("D:\\") != DRIVE_NO_ROOT_DIR;
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  using Box = std::array<long, 4>;  // x, y, width, height
  const struct {
    int dpi;
    Box window, next, cancel, edit;
  } expectations[] = {
      {96, {458, 224, 450, 320}, {293, 256, 63, 24}, {367, 256, 63, 24}, {23, 175, 396, 21}},
      {120, {402, 184, 562, 400}, {366, 320, 79, 30}, {459, 320, 79, 30}, {29, 219, 495, 26}},
  };
  const auto expected = std::find_if(std::begin(expectations), std::end(expectations),
                                     [](const auto& e) { return e.dpi == ScreenDpi(); });
  ASSERT_NE(expected, std::end(expectations)) << "no expectations for " << ScreenDpi() << " dpi";
  const auto boxOf = [form](HWND window) {  // Form1's on the screen, its controls' in its client area
    RECT r{};
    GetWindowRect(window, &r);
    if (window != form) MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return Box{r.left, r.top, r.right - r.left, r.bottom - r.top};
  };
  EXPECT_EQ(boxOf(form), expected->window) << "Form1";
  EXPECT_EQ(boxOf(GetDlgItem(form, kNextButtonId)), expected->next) << "Next";
  EXPECT_EQ(boxOf(GetDlgItem(form, kCancelButtonId)), expected->cancel) << "Cancel";
  EXPECT_EQ(boxOf(GetDlgItem(form, kFolderEditId)), expected->edit) << "folder edit box";
  EXPECT_EQ(FolderExists("D:\\岚舟软件"), driveD);
}

// Esc, Cancel and the close box end the program with exit code 0; Enter on a check box,
// pressed first each time, does not.
TEST_F(ShellTest, EscCancelAndTheCloseBoxEndWithExitCodeZeroButEnterDoesNot) {
  const struct {
    const char* how;
    void (*press)(HWND form);
  } ways[] = {
      {"Esc", [](HWND form) { PressKey(GetDlgItem(form, kNextButtonId), VK_ESCAPE); }},
      {"Cancel", [](HWND form) { Click(GetDlgItem(form, kCancelButtonId)); }},
      {"close box", [](HWND form) { PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    const HWND form = StartInstaller(HarnessArgument("installer"));
    ASSERT_TRUE(WaitForWelcomePage(form));
    PressKey(GetDlgItem(form, kLaunchCheckId), VK_RETURN);
    EXPECT_FALSE(installer.WaitForExit(1000).has_value()) << "Enter ended it";
    EXPECT_TRUE(IsWindow(form));
    way.press(form);
    ExpectExitCode(0);
  }
}

// The marker is stored exactly once, which is how the template finds it. Each copy is the
// template with the marker patched to its id (the ids are the native suite's).
TEST_F(ShellTest, TemplateWritesOneInstallerPerPackage) {
  const std::string image = ReadFileBytes(HarnessArgument("installer"));
  const auto at = image.find("188.7z");
  EXPECT_TRUE(at != std::string::npos && image.find("188.7z", at + 1) == std::string::npos);
  const std::string folder = FreshFolder("TemplateCopies");
  const std::string program = folder + "\\installer-template.exe";
  ASSERT_TRUE(CopyFileA(HarnessArgument("template").c_str(), program.c_str(), FALSE));
  const std::string original = ReadFileBytes(program);
  const auto markerAt = original.find("???.7z");
  ASSERT_NE(markerAt, std::string::npos);
  EXPECT_EQ(original.find("???.7z", markerAt + 1), std::string::npos);

  const HWND form = StartInstaller(program);
  ASSERT_TRUE(form);
  EXPECT_EQ(WindowText(form), kTitle);
  size_t copies = 0;
  for (const auto& [name, bytes] : TreeOf(folder)) {
    if (name == "installer-template.exe") continue;
    ++copies;
    const std::string id = name.substr(5, name.size() - 9);  // lzin-<id>.exe
    EXPECT_TRUE(bytes == std::string(original).replace(markerAt, 6, (id + ".7z     ").substr(0, 6))) << name;
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
