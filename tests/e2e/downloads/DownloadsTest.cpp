// Fetching the package as a user meets it: from host 1, else host 2; every address of a name,
// IPv6, the user's proxy settings and a real proxy server; the failure messages; silence on
// a real socket; a package without information; the busy indicator and the progress; closing
// meanwhile. The HTTP faults themselves are the native suite's.
#include "InstallerTest.h"

#include <commctrl.h>

#include <set>

namespace {

constexpr char kAttempt1[] = "准备【下载安装包文件】中.....1";
constexpr char kAttempt2[] = "准备【下载安装包文件】中.....2";
constexpr char kProgressPrefix[] = "下载【188.7z】中..完成:";
// A silent server is given up on after 30 s.
constexpr int kSilentDownloadTimeout = 90000;

std::string ServedFile(const std::string& name) { return HarnessArgument("hosts") + "\\" + name; }

// The user's manual proxy in the prefix while it lives (none when server is null).
struct ManualProxy {
  ManualProxy(const char* server, const char* bypass) : on(server != nullptr) {
    if (on) SetValues(1, server, bypass);
  }
  ~ManualProxy() {
    if (on) SetValues(0, "", "");
  }
  static void SetValues(DWORD enable, const char* server, const char* bypass) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "ProxyEnable", REG_DWORD, &enable, sizeof enable);
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "ProxyServer", REG_SZ, server, strlen(server) + 1);
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "ProxyOverride", REG_SZ, bypass, strlen(bypass) + 1);
  }
  const bool on;
};

class DownloadsTest : public InstallerTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Steer("")) << "the test host does not answer on 127.0.0.2:80"; }
  std::string Package() const { return RunFile("188.7z"); }
  std::string Label(HWND form) const { return WindowText(GetDlgItem(form, kProgressHintId)); }
  bool ProgressShown(HWND form) {
    return WaitUntil([&] { return Label(form).rfind(kProgressPrefix, 0) == 0; }, kStepTimeout);
  }
  void ExpectNoPackage() { EXPECT_TRUE(TreeOf(tempFolder).empty()) << "left in TEMP"; }

  // The served package under its own name and no ".tmp" beside it; Form1 stays with no
  // message box, and the download page's progress bar is gone.
  void ExpectWelcomePage(HWND form, int milliseconds = kStepTimeout) {
    ASSERT_TRUE(WaitForWelcomePage(form, ReadFileBytes(ServedFile("188.rar")), "188.7z", milliseconds));
    EXPECT_FALSE(WaitForMessageBox(installer.Id(), 500).has_value());
    EXPECT_TRUE(installer.IsRunning());
    EXPECT_FALSE(FileExists(Package() + ".tmp"));
  }
};

// Host 1 not resolving or refusing gives way to host 2, whose answer is held long enough
// (1.5 s) for the attempt text to be seen (a 404 from host 1 is the same step; the native
// suites have the HTTP faults and the attempt texts); silence in the body (WinSock's wait for
// data times out) is resumed. The names come from the suite's hosts lines: multi.test has a
// refusing address first, v6only.test only ::1; the proxied names resolve nowhere. The test
// host stands in for a proxy too (it serves whole URLs), and 127.0.0.1:8899 is tinyproxy.
// The TLS hosts' names: good.test passes to host 2 with its own Host line, so that steering
// host 2's own name away proves the package came over TLS, and tunnel.test answers only
// tinyproxy's tunnels; a certificate that fails, or a step down to http://, leaves the
// package to host 2 itself (the refused servers answer a few bytes of text, which would end
// the download as a failure). Steerings are space-separated.
TEST_F(DownloadsTest, MisbehavingHostsAndNetworksStillBringThePackage) {
  const struct {
    const char *name, *installer, *steering;
    const char* label = nullptr;  // shown on the way, if any
    int timeout = kStepTimeout;
    const char* proxy = nullptr;
    const char* bypass = "";
  } cases[] = {
      {"host 1 does not resolve", "unresolved", "delay=1500", kAttempt2, kStepTimeout},
      {"host 1 refuses", "refused", "delay=1500", kAttempt2, kStepTimeout},
      {"silence in the body", "installer", "once=1&stall=100000", nullptr, kSilentDownloadTimeout},
      {"a name whose first address refuses", "names", "", nullptr, kStepTimeout},
      {"an IPv6 address in brackets", "ipv6", "", nullptr, kStepTimeout},
      // Host 1 answers 404, so the package can only come from host 2.
      {"a name with only an IPv6 address", "ipv6", "host=[::1]&status=404", nullptr, kStepTimeout},
      {"the manual proxy is the only way out", "proxied", "", nullptr, kStepTimeout, "127.0.0.2:80"},
      {"a real proxy server in between", "installer", "proxy=only", nullptr, kStepTimeout,
       "http=127.0.0.1:8899;https=127.0.0.1:1"},
      // Nothing listens where this proxy would be.
      {"a bypassed host goes direct", "installer", "", nullptr, kStepTimeout, "127.0.0.9:3128", "*.corp;127.0.0.?"},
      {"host 1 redirects to https://", "installer",
       "host=127.0.0.2&redirect=secure&to=good.test host=127.0.0.3&status=404"},
      {"an https:// host resumed after a cut", "https", "host=good.test&once=1&cut=1000 host=127.0.0.3&status=404"},
      {"https:// through a real proxy's tunnel", "installer",
       "host=127.0.0.2&redirect=secure&to=tunnel.test host=127.0.0.3&status=404", nullptr, kStepTimeout,
       "127.0.0.1:8899"},
      {"a certificate from an unknown root", "installer", "host=127.0.0.2&redirect=secure&to=untrusted.test"},
      {"a certificate for another name", "installer", "host=127.0.0.2&redirect=secure&to=other.test"},
      {"https:// redirecting to http://", "installer", "host=127.0.0.2&redirect=secure&to=down.test"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NewRun();
    const ManualProxy proxy(c.proxy, c.bypass);
    ASSERT_TRUE(Steer(""));
    for (std::string_view rest = c.steering; !rest.empty();) {
      const size_t space = std::min(rest.find(' '), rest.size());
      ASSERT_TRUE(Steer(std::string(rest.substr(0, space))));
      rest.remove_prefix(std::min(space + 1, rest.size()));
    }
    const HWND form = StartInstaller(HarnessArgument(c.installer));
    ASSERT_TRUE(form);
    EXPECT_TRUE(!c.label || WaitUntil([&] { return Label(form) == c.label; }, kStepTimeout)) << Label(form);
    ExpectWelcomePage(form, c.timeout);
  }
}

// No host reachable (both refuse, or the proxy wants a login, for a tunnel too) is told once,
// after host 2, and so is the last host whose certificate failed; a computer without a
// network is told before host 1. Then the download has failed, and the program ends.
TEST_F(DownloadsTest, NoHostReachableOrNoNetworkIsToldOnce) {
  const struct {
    const char* installer;
    const char* text;   // how the first message begins
    const char* label;  // the last attempt
    const char* proxy = nullptr;
  } cases[] = {{"refused-both", " 连接到主机出错:", kAttempt2},
               {"installer", "代理服务器 127.0.0.2:80 要求输入用户名和密码", kAttempt2, "127.0.0.2:80"},
               {"untrusted", "代理服务器 127.0.0.2:80 要求输入用户名和密码", kAttempt2, "127.0.0.2:80"},
               {"offline", "无法连接到网络！！！\r\n可能你的电脑没上网", kAttempt1},
               {"untrusted", "无法验证证书，与这个主机的连接不可信：\r\nother.test", kAttempt2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.installer);
    NewRun();
    const ManualProxy proxy(c.proxy, "");
    ASSERT_TRUE(Steer(c.proxy ? "proxy=login" : ""));
    const HWND form = StartInstaller(HarnessArgument(c.installer));
    ASSERT_TRUE(form);
    const MessageBoxInfo told = ExpectMessageBox("出错");
    EXPECT_EQ(told.text.rfind(c.text, 0), 0u) << told.text;
    ASSERT_EQ(told.buttons.size(), 1u);
    Answer(told, told.buttons[0]);

    const MessageBoxInfo failed = ExpectMessageBox("软件安装");
    EXPECT_EQ(failed.text,
              "下载安装包文件失败！！！\r\n\r\n请检查网络能否连接、杀毒软件有没拦截。\r\n\r\n   "
              "　－－－－感谢你使用【岚舟软件】");
    EXPECT_EQ(Label(form), c.label);
    ASSERT_EQ(failed.buttons.size(), 1u);
    Answer(failed, failed.buttons[0]);
    ExpectExitCode(0);
    ExpectNoPackage();
  }
}

// Retry fetches it anew (Cancel, which deletes it, is the signing suite's refusal path).
TEST_F(DownloadsTest, PackageWithoutInformationRetryDownloadsItAnew) {
  const std::string good = ReadFileBytes(ServedFile("188.rar"));
  ASSERT_TRUE(ServeInstead(ServedFile("188.rar"), ReadFileBytes(ServedFile("noblock.7z"))));
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  const MessageBoxInfo box = ExpectMessageBox("岚舟软件安装");
  EXPECT_EQ(
      box.text,
      Package() + "\r\n\r\n文件错误！！！ \r\n\r\n请到岚舟网站重新下载试试\r\n\r\n   　－－－－感谢你使用【岚舟软件】");
  ASSERT_TRUE(ServeInstead(ServedFile("188.rar"), good));
  Answer(box, IDRETRY);
  ExpectWelcomePage(form);
}

// The six dot colours (0x00RRGGBB) inside the indicator's box, a 120-unit square centred
// horizontally with its centre 20 units above the client area's centre, and outside it.
std::pair<std::set<uint32_t>, std::set<uint32_t>> DotColours(const Pixels& pixels) {
  const std::set<uint32_t> dots = {0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFF00};
  const int size = 120 * ScreenDpi() / 96;
  const int left = pixels.width / 2 - size / 2, top = pixels.height / 2 - (size / 2 + 20 * ScreenDpi() / 96);
  std::set<uint32_t> inside, outside;
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      if (!dots.count(pixels.At(x, y))) continue;
      (x >= left && x < left + size && y >= top && y < top + size ? inside : outside).insert(pixels.At(x, y));
    }
  }
  return {inside, outside};
}

// A slow download shows the busy indicator and the progress; then the close box asks: No
// lets the download go on, Yes ends the program without the package. The suite runs this at
// 120 dpi too.
TEST_F(DownloadsTest, SlowDownloadShowsTheIndicatorAndProgressAndClosingAsks) {
  ASSERT_TRUE(Steer("slow=300&piece=4096"));  // some 15 s for the package
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  ASSERT_TRUE(ProgressShown(form)) << Label(form);
  const HWND bar = GetDlgItem(form, kProgressBarId);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 0; }, 5000));
  EXPECT_NE(Label(form).find("%)/共:"), std::string::npos) << Label(form);
  // Pure dot colours appear nowhere else on the download page.
  std::pair<std::set<uint32_t>, std::set<uint32_t>> dots;
  EXPECT_TRUE(WaitUntil([&] { return (dots = DotColours(CaptureClientArea(form))).first.size() >= 5; }, 3000))
      << "the dots are not drawn in the middle of Form1";
  EXPECT_TRUE(dots.second.empty()) << "dots outside the indicator's box";

  for (const int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer);
    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    const MessageBoxInfo question = ExpectMessageBox("岚舟软件安装");
    EXPECT_EQ(question.text, "正在下载文件中，是否要强制停止下载？");
    Answer(question, answer);
    if (answer == IDNO) {
      const LRESULT before = SendMessageA(bar, PBM_GETPOS, 0, 0);
      EXPECT_TRUE(WaitUntil([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > before; }, 5000)) << "it stopped";
    }
  }
  ExpectExitCode(0, kStepTimeout);
  ExpectNoPackage();
}

}  // namespace
