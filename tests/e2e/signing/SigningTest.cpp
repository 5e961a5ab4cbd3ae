// An installer built with the publisher's key uses only files the publisher signed: packages
// and the archive library from the hosts or found in TEMP, checked before use and held
// against writers until used.
#include "InstallerTest.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kStepTimeout = 30000;
constexpr char kRefusalTitle[] = "岚舟软件安装";

std::string Data(const std::string& relative) { return HarnessArgument("data") + "\\" + relative; }

HWND Control(HWND form, int id) { return GetDlgItem(form, id); }

bool HasFiles(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  do {
    const std::string name = entry.cFileName;
    found = found || (name != "." && name != "..");
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

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
  // A copy of the signed installer whose marker names another package, as the template's
  // copies are made.
  std::string InstallerFetching(const std::string& marker) {
    PrepareTestFolders();
    std::string image = ReadFileBytes(HarnessArgument("installer"));
    const std::size_t at = image.find("188.7z");
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) image.replace(at, 6, marker);
    const std::string copy = testFolder + "\\setup.exe";
    const HANDLE file = CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr);
    CloseHandle(file);
    return copy;
  }

  HWND StartAtWelcomePage() {
    const HWND form = StartInstaller(HarnessArgument("installer"));
    if (!form) return nullptr;
    // The publisher's package has arrived (a planted one is replaced first), and the download
    // page, which shows the progress bar, has given way to the welcome page.
    const std::string served = ReadFileBytes(Data("hosts\\188.rar"));
    const bool welcome = WaitUntil(
        [&] {
          return IsWindowVisible(Control(form, kNextButtonId)) && !IsWindowVisible(Control(form, kProgressBarId)) &&
                 ReadFileBytes(tempFolder + "\\188.7z") == served;
        },
        kStepTimeout);
    EXPECT_TRUE(welcome) << "no welcome page";
    return welcome ? form : nullptr;
  }

  // Next, a target folder, Next: the install action runs.
  void InstallInto(HWND form, const std::string& target) {
    Click(Control(form, kNextButtonId));
    ASSERT_TRUE(WaitUntil([&] { return !WindowText(Control(form, kFolderEditId)).empty(); }, 10000));
    SendMessageA(Control(form, kFolderEditId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    Click(Control(form, kNextButtonId));
  }

  bool WaitForFinishPage(HWND form) {
    std::string box;
    const bool finished = WaitUntil(
        [&] {
          for (const MessageBoxInfo& info : FindMessageBoxes(installer.Id())) box = info.title + ": " + info.text;
          return !box.empty() || WindowText(Control(form, kNextButtonId)) == "完成";
        },
        kStepTimeout);
    EXPECT_TRUE(finished && box.empty()) << "no finish page; message box [" << box << "]";
    return finished && box.empty();
  }

  void ExpectInstalled(const std::string& target) {
    for (const char* file : {"readme.txt", "bin\\app.exe", "文档\\说明.txt"}) {
      EXPECT_EQ(ReadFileBytes(target + "\\" + file), ReadFileBytes(Data("tree\\") + file)) << file;
    }
  }
};

TEST_F(SigningTest, SignedPackageAndLibraryInstallHeldUntilUsed) {
  const HWND form = StartAtWelcomePage();
  ASSERT_TRUE(form);
  ExpectHeld(tempFolder + "\\188.7z");
  const std::string target = testFolder + "\\target";
  InstallInto(form, target);
  ASSERT_TRUE(WaitForFinishPage(form));
  ExpectInstalled(target);
  EXPECT_TRUE(ReadFileBytes(tempFolder + "\\7-zip32.dll") == ReadFileBytes(Data("hosts\\7-zip32.dll")));

  // The holds end before the downloads are deleted.
  Click(Control(form, kCancelButtonId));
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(tempFolder + "\\188.7z"));
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
}

// The signature is checked on the hash taken while the package arrived: it must follow the
// bytes through resumptions, and through restarts and the switch to host 2.
TEST_F(SigningTest, ResumedOrRestartedDownloadsAreAccepted) {
  for (const char* options : {"cut=50000", "host=127.0.0.2&cut=100000&range=200"}) {
    SCOPED_TRACE(options);
    ASSERT_TRUE(SteerTestHost(options));
    ASSERT_TRUE(StartAtWelcomePage());
    ExpectHeld(tempFolder + "\\188.7z");
    installer.Terminate();
    testFolder.clear();
  }
  SteerTestHost("");
}

TEST_F(SigningTest, PackagesNotSignedByThePublisherAreRefusedBeforeAnythingIsUnpacked) {
  const struct {
    const char* name;
    const char* marker;
  } cases[] = {{"one byte changed", "tb.7z "}, {"unsigned", "us.7z "}, {"another key", "ot.7z "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string package = std::string(c.marker, 5);
    const HWND form = StartInstaller(InstallerFetching(c.marker));
    ASSERT_TRUE(form);
    const std::string text = tempFolder + "\\" + package +
                             "\r\n\r\n此文件不是岚舟软件发布的安装包！！！ \r\n\r\n可能在下载途中被替换或损坏，请重试下载"
                             "\r\n\r\n   　－－－－感谢你使用【岚舟软件】";
    // Retry fetches it again and checks it again; Cancel ends the program.
    for (const int answer : {IDRETRY, IDCANCEL}) {
      const auto box = WaitForMessageBox(installer.Id(), kStepTimeout);
      ASSERT_TRUE(box.has_value()) << "the package was not refused";
      EXPECT_EQ(box->title, kRefusalTitle);
      EXPECT_EQ(box->text, text);
      std::vector<int> buttons;
      for (const MessageBoxButton& button : box->buttons) buttons.push_back(button.id);
      EXPECT_TRUE(std::count(buttons.begin(), buttons.end(), IDRETRY) && std::count(buttons.begin(), buttons.end(), IDCANCEL));
      EXPECT_FALSE(IsWindowVisible(Control(form, kNextButtonId)));  // never on the welcome page
      PressMessageBoxButton(*box, answer);
      WaitUntil([&] { return !IsWindow(box->window); }, 5000);
    }
    ExpectExitCode(0);
    EXPECT_FALSE(FileExists(tempFolder + "\\" + package));
    EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
    EXPECT_FALSE(HasFiles(programFilesFolder));
    installer.Terminate();
    testFolder.clear();
  }
}

TEST_F(SigningTest, UnsignedFilesPlantedInTempAreReplacedByThePublishers) {
  PrepareTestFolders();
  for (const char* file : {"188.7z", "7-zip32.dll"}) {
    ASSERT_TRUE(CopyFileA(Data(std::string("planted\\") + file).c_str(), (tempFolder + "\\" + file).c_str(), FALSE));
  }
  const HWND form = StartAtWelcomePage();  // with the hosts' package in TEMP
  ASSERT_TRUE(form);
  const std::string target = testFolder + "\\target";
  InstallInto(form, target);
  ASSERT_TRUE(WaitForFinishPage(form));
  ExpectInstalled(target);
  EXPECT_TRUE(ReadFileBytes(tempFolder + "\\7-zip32.dll") == ReadFileBytes(Data("hosts\\7-zip32.dll")));
}

// Run against hosts that serve an unsigned library beside the signed package.
TEST_F(SigningTest, AnUnsignedLibraryFromTheHostsIsDeletedUnloaded) {
  const HWND form = StartAtWelcomePage();
  ASSERT_TRUE(form);
  const std::string target = testFolder + "\\target";
  InstallInto(form, target);
  const auto box = WaitForMessageBox(installer.Id(), kStepTimeout);
  ASSERT_TRUE(box.has_value()) << "the library was not refused";
  EXPECT_EQ(box->title, kRefusalTitle);
  EXPECT_EQ(box->text,
            "下载的解压支持库文件不是岚舟软件发布的文件！！！\r\n\r\n可能在下载途中被替换或损坏，为了安全已将它删除，\r\n"
            "请稍后重新安装试试\r\n\r\n       　－－－－感谢你使用【岚舟软件】");
  PressMessageBoxButton(*box, box->buttons.front().id);
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
  EXPECT_FALSE(HasFiles(target));
}

}  // namespace
