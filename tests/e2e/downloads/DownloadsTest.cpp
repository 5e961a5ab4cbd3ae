// Fetching the package as a user meets it: from host 1, else host 2; the failure messages;
// a package without information; the busy indicator and the progress; closing meanwhile.
#include "InstallerTest.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

namespace {

constexpr char kAttempt1[] = "准备【下载安装包文件】中.....1";
constexpr char kAttempt2[] = "准备【下载安装包文件】中.....2";
constexpr char kProgressPrefix[] = "下载【188.7z】中..完成:";
constexpr char kDownloadFailedText[] =
    "下载安装包文件失败！！！\r\n\r\n请检查网络能否连接、杀毒软件有没拦截。\r\n\r\n   　－－－－感谢你使用【岚舟软件】";
constexpr char kFileErrorTail[] =
    "\r\n\r\n文件错误！！！ \r\n\r\n请到岚舟网站重新下载试试\r\n\r\n   　－－－－感谢你使用【岚舟软件】";
// Long enough for a 50 ms poll to see a text that stands while a host holds its answer.
constexpr int kHoldMs = 1500;
constexpr int kDownloadTimeout = 30000;
// A silent server is given up on after 30 s.
constexpr int kSilentDownloadTimeout = 90000;

std::string ServedFile(const std::string& name) { return HarnessArgument("hosts") + "\\" + name; }

class DownloadsTest : public InstallerTest {
 protected:
  void SetUp() override { ASSERT_TRUE(SteerTestHost("")) << "the test host does not answer on 127.0.0.2:80"; }
  void TearDown() override {
    InstallerTest::TearDown();
    SteerTestHost("");
  }

  std::string Package() const { return tempFolder + "\\188.7z"; }
  std::string Label(HWND form) const { return WindowText(GetDlgItem(form, kProgressHintId)); }
  bool LabelShows(HWND form, const std::string& text, int milliseconds = kDownloadTimeout) {
    return WaitUntil([&] { return Label(form) == text; }, milliseconds);
  }

  // The served package under its own name and no ".tmp" beside it; Form1 stays with no
  // message box, and the download page's progress bar is gone.
  void ExpectWelcomePage(HWND form, int milliseconds = kDownloadTimeout) {
    const std::string served = ReadFileBytes(ServedFile("188.rar"));
    ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(Package()) == served; }, milliseconds))
        << "TEMP does not hold the served package";
    Sleep(500);
    EXPECT_TRUE(installer.IsRunning());
    EXPECT_TRUE(FindMessageBoxes(installer.Id()).empty());
    EXPECT_FALSE(FileExists(Package() + ".tmp"));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(form, kNextButtonId)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(form, kProgressBarId)));
  }

  // Presses the button and waits until the box has gone.
  void Answer(const MessageBoxInfo& box, int buttonId) {
    PressMessageBoxButton(box, buttonId);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }, 5000)) << "the message box stays";
  }

  MessageBoxInfo ExpectMessageBox(const std::string& title) {
    const auto box = WaitForMessageBox(installer.Id(), kDownloadTimeout);
    if (!box) {
      ADD_FAILURE() << "no message box titled " << title;
      return {};
    }
    EXPECT_EQ(box->title, title);
    return *box;
  }
};

TEST_F(DownloadsTest, UsesAPackageAlreadyInTempWithoutDownloading) {
  PrepareTestFolders();
  ASSERT_TRUE(CopyFileA(ServedFile("188.rar").c_str(), Package().c_str(), FALSE));
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  ExpectWelcomePage(form);
  // The download page never came: its label keeps the text it was made with.
  EXPECT_EQ(Label(form), "进度条提示");
}

TEST_F(DownloadsTest, Host1Answering404GivesWayToHost2) {
  ASSERT_TRUE(SteerTestHost("status=404&delay=" + std::to_string(2 * kHoldMs)));
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  EXPECT_TRUE(LabelShows(form, kAttempt1)) << Label(form);
  // The label comes before the request: give host 1 time to take its answer, then let
  // host 2 serve after a pause to be seen.
  Sleep(kHoldMs / 2);
  ASSERT_TRUE(SteerTestHost("delay=" + std::to_string(kHoldMs)));
  EXPECT_TRUE(LabelShows(form, kAttempt2)) << Label(form);
  ExpectWelcomePage(form);
}

TEST_F(DownloadsTest, UnresolvedHost1GivesWayToHost2) {
  ASSERT_TRUE(SteerTestHost("delay=" + std::to_string(kHoldMs)));
  const HWND form = StartInstaller(HarnessArgument("unresolved"));
  ASSERT_TRUE(form);
  EXPECT_TRUE(LabelShows(form, kAttempt2)) << Label(form);
  ExpectWelcomePage(form);
}

TEST_F(DownloadsTest, RefusedConnectionEndsTheDownloadWithoutHost2) {
  const HWND form = StartInstaller(HarnessArgument("refused"));
  ASSERT_TRUE(form);
  const MessageBoxInfo refused = ExpectMessageBox("出错");
  EXPECT_EQ(refused.text.rfind(" 连接到主机出错:", 0), 0u) << refused.text;
  EXPECT_NE(refused.text.find("\r\n可能被杀毒软件拦截了"), std::string::npos) << refused.text;
  ASSERT_EQ(refused.buttons.size(), 1u);
  Answer(refused, refused.buttons[0].id);

  const MessageBoxInfo failed = ExpectMessageBox("软件安装");
  EXPECT_EQ(failed.text, kDownloadFailedText);
  EXPECT_EQ(Label(form), kAttempt1) << "host 2 was tried";
  ASSERT_EQ(failed.buttons.size(), 1u);
  Answer(failed, failed.buttons[0].id);
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(Package()));
  EXPECT_FALSE(FileExists(Package() + ".tmp"));
}

TEST_F(DownloadsTest, NoNetworkIsToldAndEndsTheProgram) {
  const HWND form = StartInstaller(HarnessArgument("offline"));
  ASSERT_TRUE(form);
  const MessageBoxInfo offline = ExpectMessageBox("出错");
  EXPECT_EQ(offline.text, "无法连接到网络！！！\r\n可能你的电脑没上网");
  ASSERT_EQ(offline.buttons.size(), 1u);
  Answer(offline, offline.buttons[0].id);

  const MessageBoxInfo failed = ExpectMessageBox("软件安装");
  EXPECT_EQ(failed.text, kDownloadFailedText);
  EXPECT_EQ(Label(form), kAttempt1) << "host 2 was tried";
  ASSERT_EQ(failed.buttons.size(), 1u);
  Answer(failed, failed.buttons[0].id);
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(Package()));
  EXPECT_FALSE(FileExists(Package() + ".tmp"));
}

// Servers that misbehave in ordinary ways: the package under its name is still exactly the
// served file, from host 1 or, where host 1 gives nothing usable, from host 2.
class MisbehavingHost : public DownloadsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MisbehavingHost, PackageArrivesExactly) {
  ASSERT_TRUE(SteerTestHost(GetParam()));
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  ExpectWelcomePage(form, kSilentDownloadTimeout);
}

INSTANTIATE_TEST_SUITE_P(Answers, MisbehavingHost,
                         ::testing::Values(
                             // Bytes after the announced length; the connection held after the body.
                             "extra=500", "stall=1000000000",
                             // Host 1 resumes at another offset, or without saying where.
                             "host=127.0.0.2&cut=100000&from=0", "host=127.0.0.2&cut=100000&contentrange=none",
                             // Host 1 redirects to no host, or never answers.
                             "host=127.0.0.2&redirect=hostless", "host=127.0.0.2&silent=1",
                             // Silence in the middle of the body: the rest is asked for again.
                             "once=1&stall=100000"));

TEST_F(DownloadsTest, PackageWithoutInformationRetryDownloadsItAnew) {
  PrepareTestFolders();
  ASSERT_TRUE(CopyFileA(ServedFile("noblock.7z").c_str(), Package().c_str(), FALSE));
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  const MessageBoxInfo box = ExpectMessageBox("岚舟软件安装");
  EXPECT_EQ(box.text, Package() + kFileErrorTail);
  Answer(box, IDRETRY);
  ExpectWelcomePage(form);
}

TEST_F(DownloadsTest, PackageWithoutInformationCancelEndsAndDeletesIt) {
  PrepareTestFolders();
  ASSERT_TRUE(CopyFileA(ServedFile("noblock.7z").c_str(), Package().c_str(), FALSE));
  ASSERT_TRUE(StartInstaller(HarnessArgument("installer")));
  const MessageBoxInfo box = ExpectMessageBox("岚舟软件安装");
  EXPECT_EQ(box.text, Package() + kFileErrorTail);
  Answer(box, IDCANCEL);
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(Package()));
}

// The six dot colours (0x00RRGGBB) inside the indicator's box, a 120-unit square centred
// horizontally with its centre 20 units above the client area's centre, and outside it.
struct DotsFound {
  std::set<uint32_t> inside, outside;
};
DotsFound DotColours(const Pixels& pixels) {
  const std::set<uint32_t> dots = {0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFF00};
  const int size = 120 * ScreenDpi() / 96;
  const int left = pixels.width / 2 - size / 2, top = pixels.height / 2 - (size / 2 + 20 * ScreenDpi() / 96);
  DotsFound found;
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      if (!dots.count(pixels.At(x, y))) continue;
      const bool inside = x >= left && x < left + size && y >= top && y < top + size;
      (inside ? found.inside : found.outside).insert(pixels.At(x, y));
    }
  }
  return found;
}

TEST_F(DownloadsTest, SlowDownloadShowsTheIndicatorAndProgress) {
  ASSERT_TRUE(SteerTestHost("slow=200&piece=8192"));
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  ASSERT_TRUE(WaitUntil([&] { return Label(form).rfind(kProgressPrefix, 0) == 0; }, kDownloadTimeout)) << Label(form);
  Sleep(1000);
  const std::string label = Label(form);
  EXPECT_EQ(label.rfind(kProgressPrefix, 0), 0u) << label;
  EXPECT_NE(label.find("%)/共:"), std::string::npos) << label;
  EXPECT_GT(SendMessageA(GetDlgItem(form, kProgressBarId), PBM_GETPOS, 0, 0), 0);
  const Pixels pixels = CaptureClientArea(form);
  SaveScreenshot(form, "-" + std::to_string(ScreenDpi()) + "dpi");
  // Pure dot colours appear nowhere else on the download page.
  const DotsFound dots = DotColours(pixels);
  EXPECT_GE(dots.inside.size(), 5u) << "the dots are not drawn in the middle of Form1";
  EXPECT_TRUE(dots.outside.empty()) << "dots outside the indicator's box";
  ExpectWelcomePage(form);
}

class CloseDuringDownload : public DownloadsTest {
 protected:
  // Closes Form1 as its close box does once a slow download is under way; returns the question.
  MessageBoxInfo CloseMidway() {
    EXPECT_TRUE(SteerTestHost("slow=300&piece=8192"));
    const HWND form = StartInstaller(HarnessArgument("installer"));
    if (!form) return {};
    EXPECT_TRUE(WaitUntil([&] { return Label(form).rfind(kProgressPrefix, 0) == 0; }, kDownloadTimeout));
    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    const MessageBoxInfo question = ExpectMessageBox("岚舟软件安装");
    EXPECT_EQ(question.text, "正在下载文件中，是否要强制停止下载？");
    return question;
  }
};

TEST_F(CloseDuringDownload, AnsweredNoTheDownloadGoesOn) {
  const MessageBoxInfo question = CloseMidway();
  ASSERT_TRUE(question.window);
  const HWND form = WaitForForm1(installer.Id(), 1000);
  Answer(question, IDNO);
  ExpectWelcomePage(form);
}

TEST_F(CloseDuringDownload, AnsweredYesTheProgramEndsWithoutThePackage) {
  const MessageBoxInfo question = CloseMidway();
  ASSERT_TRUE(question.window);
  Answer(question, IDYES);
  ExpectExitCode(0, kDownloadTimeout);
  EXPECT_FALSE(FileExists(Package()));
  EXPECT_FALSE(FileExists(Package() + ".tmp"));
}

}  // namespace
