// The wizard under Wine, with the package a test chooses served by the hosts: what the pages look like on the screen at
// the screen's DPI (the suite runs at 96 and 144 dpi), the folder picker, and the finish page's shortcut and launch.
#include <shlobj.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "InstallerTest.h"

namespace {

// The ordinary package's title, which names the folder the wizard offers for it.
constexpr char kTitle[] = "岚舟 画图";

// Next, Cancel, Back, group box, Browse, edit box, progress bar, hint label, launch and
// shortcut check boxes: S shown, H hidden.
constexpr char kWelcomeRow[] = "SSHHHHHHHH";
constexpr char kFolderRow[] = "SSSSSSHHHH";
constexpr char kExtractionRow[] = "SSSHHHSSHH";
constexpr char kFinishRow[] = "SSSHHHHHSS";
constexpr char kExtractOnlyFinishRow[] = "SSSHHHHHHH";

std::string VisibleControls(HWND form) {
  std::string row;
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId, kFolderGroupId, kBrowseButtonId, kFolderEditId,
                       kProgressBarId, kProgressHintId, kLaunchCheckId, kShortcutCheckId}) {
    row += IsWindowVisible(GetDlgItem(form, id)) ? 'S' : 'H';
  }
  return row;
}

// Clicks the button (0: none) and waits until the page's controls are as given, then lets
// the paint end: the row is applied at the start of a paint, the page reaches the screen at
// its end.
bool ClickAndWaitForPage(HWND form, int buttonId, const std::string& visible) {
  if (buttonId) Click(GetDlgItem(form, buttonId));
  const bool reached = WaitUntil([&] { return VisibleControls(form) == visible; }, 5000);
  Sleep(300);
  if (!reached) ADD_FAILURE() << "the controls show " << VisibleControls(form) << ", not " << visible;
  return reached;
}

constexpr uint32_t kKeyColour = 0xC60088;  // RGB(198, 0, 136)

// A 96-dpi length on this screen, rounded to nearest, ties to even.
int Scaled(int length) { return static_cast<int>(std::nearbyint(length * (ScreenDpi() / 96.0))); }

uint32_t Face() { return RgbOf(GetSysColor(COLOR_BTNFACE)); }
uint32_t Shadow() { return RgbOf(GetSysColor(COLOR_BTNSHADOW)); }
uint32_t Highlight() { return RgbOf(GetSysColor(COLOR_BTNHIGHLIGHT)); }

bool Near(uint32_t pixel, uint32_t colour) {
  int distance = 0;
  for (const int shift : {0, 8, 16}) distance += std::abs(int((pixel >> shift) & 0xFF) - int((colour >> shift) & 0xFF));
  return distance <= 60;
}

// Pixels near the colour in [left, right) x [top, bottom).
int CountNear(const Pixels& pixels, RECT box, uint32_t colour) {
  int count = 0;
  for (int y = box.top; y < box.bottom && y < pixels.height; ++y) {
    for (int x = box.left; x < box.right && x < pixels.width; ++x) count += Near(pixels.At(x, y), colour);
  }
  return count;
}

bool HasKeyColour(const Pixels& pixels) {
  for (const uint32_t pixel : pixels.rgb) {
    if ((pixel & 0xFFFFFE) == kKeyColour) return true;  // a JPEG may give (198, 0, 137)
  }
  return false;
}

// Text is drawn at anchors in device pixels whatever the DPI: expect some of the colour just
// right of and below the anchor.
struct TextAnchor {
  int x, y;
  uint32_t colour;
  const char* what;
};
void ExpectTexts(const Pixels& pixels, const std::vector<TextAnchor>& texts) {
  for (const auto& t : texts) EXPECT_GT(CountNear(pixels, {t.x, t.y, t.x + 120, t.y + 30}, t.colour), 10) << t.what;
}

// The header band of pages 0, 2, 3 and 4.
void ExpectHeaderBand(const Pixels& pixels) {
  EXPECT_EQ(pixels.At(Scaled(440), Scaled(51)), Shadow());    // right of every text, at any DPI
  EXPECT_EQ(pixels.At(Scaled(440), Scaled(51) - 1), Face());  // the banner's key strip shows the face
  EXPECT_EQ(pixels.At(Scaled(100), Scaled(250)), Shadow());
  EXPECT_EQ(pixels.At(Scaled(100), Scaled(251)), Highlight());
  EXPECT_EQ(pixels.At(Scaled(64), Scaled(250)), Face());  // the separator starts at x 68
  EXPECT_FALSE(HasKeyColour(pixels));
  // The title's and the site text's anchors stay at (13, 7) and (12, 242): nothing of them
  // left of it, their first strokes within four pixels right of it.
  EXPECT_EQ(CountNear(pixels, {0, 7, 13, 30}, 0x000000), 0) << "title";
  EXPECT_GT(CountNear(pixels, {13, 7, 18, 30}, 0x000000), 0) << "title";
  EXPECT_EQ(CountNear(pixels, {0, 242, 12, 262}, Shadow()), 0) << "site text";
  EXPECT_GT(CountNear(pixels, {12, 242, 17, 262}, Shadow()), 0) << "site text";
  ExpectTexts(pixels, {{22, 33, 0x000000, "subtitle"}});
}

// The .lnk as the shell reads it back: target, working folder, description; nothing when it
// cannot be loaded.
std::vector<std::string> ReadShortcut(const std::string& path) {
  wchar_t widePath[MAX_PATH] = L"";
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  std::vector<std::string> fields;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(widePath, STGM_READ))) {
    char target[MAX_PATH] = "", folder[MAX_PATH] = "", description[MAX_PATH] = "";
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetDescription(description, MAX_PATH);
    fields = {target, folder, description};
  }
  if (file) file->Release();
  if (link) link->Release();
  return fields;
}

class WizardTest : public InstallerTest {
 protected:
  // Starts a test build that skips the extraction (the pages and the picker are the real
  // build's), with the package named by the argument served, and waits for the welcome page.
  HWND StartWithPackage(const char* package = "package", const char* build = "skip-extraction") {
    const bool served = ServeInstead(HarnessArgument("hosts") + "\\188.rar", ReadFileBytes(HarnessArgument(package)));
    EXPECT_TRUE(served) << HarnessArgument(package);
    const HWND form = served ? StartInstaller(HarnessArgument(build)) : nullptr;
    return form && WaitForWelcomePage(form) && ClickAndWaitForPage(form, 0, kWelcomeRow) ? form : nullptr;
  }
  std::string OfferedFolder(const std::string& name) const { return programFilesFolder + "\\" + name; }
};

// The welcome page, then the test build that goes from the folder page straight to the
// finish page, as a successful extraction would; Back leads to the extraction page.
TEST_F(WizardTest, PaintWelcomeAndHeaderBandPages) {
  const HWND form = StartWithPackage();
  ASSERT_TRUE(form);
  const Pixels welcome = CaptureClientArea(form);
  ASSERT_GT(welcome.width, Scaled(440));
  EXPECT_EQ(welcome.At(Scaled(2), Scaled(125)), Face());  // the picture's key-colour border
  EXPECT_FALSE(HasKeyColour(welcome));
  EXPECT_NE(welcome.At(Scaled(60), Scaled(100)), Face());      // the picture itself
  EXPECT_EQ(welcome.At(Scaled(440), Scaled(240)), 0xFFFFFFu);  // the white panel
  EXPECT_EQ(welcome.At(Scaled(300), Scaled(250)), Shadow());
  EXPECT_EQ(welcome.At(Scaled(300), Scaled(251)), Highlight());
  EXPECT_EQ(welcome.At(Scaled(280), Scaled(262)), Face());
  ExpectTexts(welcome, {{200, 64, 0x0000FF, "display name"},
                        {160, 104, 0x0000FF, "version line"},
                        {145, 218, 0x339900, "岚舟软件"},
                        {238, 224, 0xFF0000, "绝对保证无毒无害无污染"},
                        {14, 258, 0x800080, "welcome line"},
                        {123, 20, 0x000000, "greeting"}});

  const struct {
    int button;
    const char* row;
    const char* name;
    const char* next;  // the Next button's caption
    std::vector<TextAnchor> texts;
  } steps[] = {
      {kNextButtonId,
       kFolderRow,
       "folder page",
       "下一步",
       {{10, 63, 0x000000, "folder page line 1"}, {5, 109, 0x008000, "folder page green line"}}},
      {kNextButtonId,
       kFinishRow,
       "finish page",
       "完成",
       {{15, 216, 0xFF0000, "antivirus note"}, {300, 109, 0xFF0000, "岚舟软件"}}},
      {kBackButtonId, kExtractionRow, "extraction page", "下一步", {{29, 93, 0x000000, "extraction line"}}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    ASSERT_TRUE(ClickAndWaitForPage(form, step.button, step.row));
    EXPECT_EQ(WindowText(GetDlgItem(form, kNextButtonId)), step.next);
    const Pixels pixels = CaptureClientArea(form);
    ExpectHeaderBand(pixels);
    ExpectTexts(pixels, step.texts);
  }
}

// An extract-only package skips the folder page; Next then closes, with nothing to start.
TEST_F(WizardTest, PaintExtractOnlyFinishPage) {
  const HWND form = StartWithPackage("extract-only-package");
  ASSERT_TRUE(form);
  ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kExtractOnlyFinishRow));
  EXPECT_EQ(WindowText(GetDlgItem(form, kFolderEditId)), OfferedFolder("素材合集"));  // the description's
  const Pixels pixels = CaptureClientArea(form);
  ExpectHeaderBand(pixels);
  ExpectTexts(pixels, {{15, 189, 0xFF0000, "unpack note, red"}, {230, 216, 0x0000FF, "done note, blue"}});
  Click(GetDlgItem(form, kNextButtonId));
  ExpectExitCode(0);
}

// The folder picker, then the finish page through the test build that reaches it without
// unpacking; the test puts the program where the package would have. With both boxes
// cleared nothing is written or started; with both checked the shortcut is written and the
// program started in its folder by the desktop shell, or by the installer where there is none.
TEST_F(WizardTest, BrowseThenFinishWritesTheShortcutAndStartsTheProgramAsChecked) {
  CoInitialize(nullptr);  // to read the shortcut back
  char desktop[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, desktop);
  const std::string linkPath = std::string(desktop) + "\\" + kTitle + ".lnk";  // named after the package
  DeleteFileA(linkPath.c_str());
  const struct {
    const char* build;  // the harness argument naming it
    bool checked;
    const char* starter;
  } cases[] = {
      {"skip-extraction", false, ""}, {"skip-extraction", true, "desktop shell"}, {"no-shell", true, "installer"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.build) + (c.checked ? ", both boxes checked" : ", both boxes cleared"));
    NewRun();
    const HWND form = StartWithPackage("package", c.build);
    ASSERT_TRUE(form);
    const std::string folder = OfferedFolder(kTitle) + "\\", program = folder + "bin\\LaunchProbe.exe";
    MakeFolders(folder + "bin");
    ASSERT_TRUE(CopyFileA(HarnessArgument("probe").c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFolderRow));
    // Browse opens the picker; cancelling it keeps what was typed.
    const HWND edit = GetDlgItem(form, kFolderEditId);
    EXPECT_EQ(WindowText(edit), OfferedFolder(kTitle));
    TypeText(edit, programFilesFolder + "\\typed");
    Click(GetDlgItem(form, kBrowseButtonId));
    const auto picker = WaitForMessageBox(installer.Id(), 10000);
    ASSERT_TRUE(picker.has_value()) << "the folder picker did not open";
    std::string texts;
    for (HWND child : ChildWindows(picker->window)) texts += WindowText(child) + "\n";
    EXPECT_NE(texts.find(std::string("选择安装【") + kTitle + "】目标文件夹\n"), std::string::npos) << texts;
    PressMessageBoxButton(*picker, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return FindMessageBoxes(installer.Id()).empty(); }, 5000));
    // The installer may still be tearing the picker down, too busy to answer at once.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == programFilesFolder + "\\typed"; }, 10000))
        << WindowText(edit);
    EXPECT_EQ(VisibleControls(form), kFolderRow);
    TypeText(edit, OfferedFolder(kTitle));
    ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFinishRow));
    for (const int id : {kShortcutCheckId, kLaunchCheckId}) {
      const HWND box = GetDlgItem(form, id);
      if (!c.checked) Click(box);
      const LRESULT state = c.checked ? BST_CHECKED : BST_UNCHECKED;
      ASSERT_TRUE(WaitUntil([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == state; }, 3000)) << id;
    }
    Click(GetDlgItem(form, kNextButtonId));
    ExpectExitCode(0);
    const std::vector<std::string> none,
        link = {program, folder, "一个画图工具"},
        // The working folder reads back without the trailing "\"; the parameters are the folder
        // unquoted, though it has a space. A started program writes them within a second.
        started = {folder.substr(0, folder.size() - 1), folder, c.starter};
    EXPECT_EQ(ReadShortcut(linkPath), c.checked ? link : none);
    EXPECT_EQ(WaitForLaunchReport(program, c.checked ? 10000 : 1000), c.checked ? started : none);
  }
}

}  // namespace
