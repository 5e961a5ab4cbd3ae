// An installer built with the publisher's key uses only files the publisher signed: packages
// and the archive library from the hosts, checked before use and held against writers until
// used; what others left in TEMP is never looked at.
#include "InstallerTest.h"

#include <map>
#include <set>

namespace {

constexpr char kRefusalTitle[] = "岚舟软件安装";

std::string Data(const std::string& relative) { return HarnessArgument("data") + "\\" + relative; }

// Nobody may change or remove a file the installer has checked and not yet used.
void ExpectHeld(const std::string& path) {
  const HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << path << " can be opened for writing";
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  EXPECT_FALSE(DeleteFileA(path.c_str())) << path << " can be deleted";
  EXPECT_FALSE(MoveFileA(path.c_str(), (path + ".moved").c_str())) << path << " can be renamed";
}

class SigningTest : public InstallerTest {
 protected:
  // The publisher's package has arrived, and the download
  // page, which shows the progress bar, has given way to the welcome page. Then Next, the
  // target folder and Next: the install action runs.
  HWND InstallInto(const std::string& target, const std::string& program = HarnessArgument("installer")) {
    const HWND form = StartInstaller(program);
    if (!form) return nullptr;
    const HWND next = GetDlgItem(form, kNextButtonId), edit = GetDlgItem(form, kFolderEditId);
    if (!WaitForWelcomePage(form, ReadFileBytes(Data("hosts\\188.rar")))) return nullptr;
    ExpectHeld(RunFile("188.7z"));
    Click(next);
    EXPECT_TRUE(WaitUntil([&] { return !WindowText(edit).empty(); }, 10000)) << "no folder page";
    TypeText(edit, target);
    Click(next);
    return form;
  }
};

// The signature is checked on
// the hash taken while the package arrived: it must follow the bytes through resumptions,
// restarts and the switch to host 2. The holds end before the downloads are deleted.
TEST_F(SigningTest, SignedPackageAndLibraryInstallHeldUntilUsed) {
  const struct {
    const char* name;
    const char* steering;
  } cases[] = {{"resumed", "cut=50000"}, {"restarted, then host 2", "host=127.0.0.2&cut=100000&range=200"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NewRun();
    ASSERT_TRUE(Steer("") && Steer(c.steering));
    const std::string target = testFolder + "\\target";
    const HWND form = InstallInto(target);
    ASSERT_TRUE(form);
    ASSERT_TRUE(WaitForFinishPage(form));
    ExpectSameTree(Data("tree"), target);
    EXPECT_TRUE(ReadFileBytes(RunFile("7-zip32.dll")) == ReadFileBytes(Data("hosts\\7-zip32.dll")));
    Click(GetDlgItem(form, kCancelButtonId));
    ExpectExitCode(0);
    EXPECT_TRUE(TreeOf(tempFolder).empty()) << "left in TEMP";
  }
}

// A copy of the signed installer whose marker names another package, as the template's
// copies are made. A changed byte shows the hash taken during the download is checked; a
// signature by another key is the native signing suite's.
TEST_F(SigningTest, PackagesNotSignedByThePublisherAreRefusedBeforeAnythingIsUnpacked) {
  const struct {
    const char* name;
    const char* marker;
  } cases[] = {{"one byte changed", "tb.7z "}, {"unsigned", "us.7z "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NewRun();
    std::string image = ReadFileBytes(HarnessArgument("installer"));
    const std::size_t at = image.find("188.7z");
    ASSERT_NE(at, std::string::npos);
    const std::string copy = testFolder + "\\setup.exe", package = std::string(c.marker, 5);
    ASSERT_TRUE(WriteFileBytes(copy, image.replace(at, 6, c.marker)));
    const HWND form = StartInstaller(copy);
    ASSERT_TRUE(form);
    // Retry fetches it again and checks it again; Cancel ends the program.
    for (const int answer : {IDRETRY, IDCANCEL}) {
      const MessageBoxInfo box = ExpectMessageBox(kRefusalTitle);
      ASSERT_TRUE(box.window) << "the package was not refused";
      EXPECT_EQ(box.text,
                RunFile(package) +
                    "\r\n\r\n此文件不是岚舟软件发布的安装包！！！ \r\n\r\n可能在下载途中被替换或损坏，请重试下载"
                    "\r\n\r\n   　－－－－感谢你使用【岚舟软件】");
      const std::set<int> buttons(box.buttons.begin(), box.buttons.end());
      EXPECT_TRUE(buttons.count(IDRETRY) && buttons.count(IDCANCEL));
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(form, kNextButtonId)));  // never on the welcome page
      Answer(box, answer);
    }
    ExpectExitCode(0);
    EXPECT_TRUE(TreeOf(tempFolder).empty()) << "left in TEMP";
    EXPECT_TRUE(TreeOf(programFilesFolder).empty());
  }
}

// The template, unsigned and signed with Authenticode, shows no message and writes its copies
// byte for byte as lzpack copies writes them from it (osslsigncode finds them unsigned:
// CheckAuthenticodeCopies.sh). A copy signed again, as the publisher does, is an installer:
// it finds its marker, writes no copies and installs.
TEST_F(SigningTest, TemplatesWriteLzpacksCopiesAndASignedCopyInstalls) {
  PrepareTestFolders();
  for (const std::string kind : {"unsigned", "signed"}) {
    SCOPED_TRACE(kind);
    const std::string folder = FreshFolder(kind), program = folder + "\\installer-template.exe";
    ASSERT_TRUE(CopyFileA(Data("authenticode\\" + kind + "\\installer-template.exe").c_str(), program.c_str(), FALSE));
    const HWND form = StartInstaller(program);
    ASSERT_TRUE(form);
    EXPECT_EQ(WindowText(form), "安装岚舟软件 V3.1.2.525 版");
    EXPECT_TRUE(FindMessageBoxes(installer.Id()).empty());
    std::map<std::string, std::string> copies = TreeOf(folder);
    copies.erase("installer-template.exe");
    EXPECT_TRUE(copies == TreeOf(Data("authenticode\\" + kind + "\\copies")));
    NewRun();
  }
  const std::string target = testFolder + "\\target";
  const HWND form = InstallInto(target, Data("authenticode\\lzin-188-signed.exe"));
  ASSERT_TRUE(form);
  ASSERT_TRUE(WaitForFinishPage(form));
  ExpectSameTree(Data("tree"), target);
  EXPECT_FALSE(FileExists(Data("authenticode\\lzin-99.exe")));
}

// Run against hosts that serve an unsigned library beside the signed package.
TEST_F(SigningTest, AnUnsignedLibraryFromTheHostsIsDeletedUnloaded) {
  PrepareTestFolders();
  const std::string target = testFolder + "\\target";
  ASSERT_TRUE(InstallInto(target));
  ExpectMessage(
      kRefusalTitle,
      "下载的解压支持库文件不是岚舟软件发布的文件！！！\r\n\r\n可能在下载途中被替换或损坏，为了安全已将它删除，\r\n"
      "请稍后重新安装试试\r\n\r\n       　－－－－感谢你使用【岚舟软件】");
  ExpectExitCode(0);
  EXPECT_TRUE(TreeOf(tempFolder).empty()) << "left in TEMP";
  EXPECT_TRUE(TreeOf(target).empty());
}

}  // namespace
