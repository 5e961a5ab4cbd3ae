// The install action as a user meets it: from an empty TEMP through the folder page, the
// library download and the extraction to the finish page; refused folders; programs running
// from the target folder; failures that leave the user able to act again; closing while
// unpacking; the clean-up when Form1 closes.
#include "InstallerTest.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

constexpr char kTitle[] = "测试软件";
constexpr char kInstallTitle[] = "软件安装";
constexpr char kProductTitle[] = "安装岚舟软件";
constexpr char kInstallErrorText[] =
    "安装文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、杀毒软件拦截等\r\n\r\n"
    "　　　－－－－感谢你使用【岚舟软件】";
constexpr int kStepTimeout = 30000;

std::string Installer() { return HarnessArgument("installer"); }

HWND Control(HWND form, int id) { return GetDlgItem(form, id); }

void SetFolderText(HWND form, const std::string& text) {
  SendMessageA(Control(form, kFolderEditId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool ButtonsEnabled(HWND form) {
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId, kBrowseButtonId}) {
    if (!IsWindowEnabled(Control(form, id))) return false;
  }
  return true;
}

// Every file and folder below root, relative to it, folders ending with "\".
void ListTree(const std::string& root, const std::string& relative, std::vector<std::string>& entries) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((root + "\\" + relative + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entries.push_back(relative + name + "\\");
      ListTree(root, relative + name + "\\", entries);
    } else {
      entries.push_back(relative + name);
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

void ExpectSameTree(const std::string& expected, const std::string& actual) {
  std::vector<std::string> expectedEntries, actualEntries;
  ListTree(expected, "", expectedEntries);
  ListTree(actual, "", actualEntries);
  std::sort(expectedEntries.begin(), expectedEntries.end());
  std::sort(actualEntries.begin(), actualEntries.end());
  ASSERT_FALSE(expectedEntries.empty());
  ASSERT_EQ(actualEntries, expectedEntries);
  for (const std::string& entry : expectedEntries) {
    if (entry.back() == '\\') continue;
    EXPECT_TRUE(ReadFileBytes(expected + "\\" + entry) == ReadFileBytes(actual + "\\" + entry)) << entry;
  }
}

class InstallTest : public InstallerTest {
 protected:
  void TearDown() override {
    InstallerTest::TearDown();
    SteerTestHost("");
  }

  // Starts the installer and waits for the welcome page after the package download.
  HWND StartAtWelcomePage(const std::string& program, const std::string& package) {
    const HWND form = StartInstaller(program);
    if (!form) return nullptr;
    const bool downloaded = WaitUntil([&] { return FileExists(tempFolder + "\\" + package); }, kStepTimeout);
    EXPECT_TRUE(downloaded) << "the package was not downloaded";
    const bool welcome = WaitUntil([&] { return IsWindowVisible(Control(form, kNextButtonId)) != FALSE; }, 10000);
    EXPECT_TRUE(welcome) << "no welcome page";
    return downloaded && welcome ? form : nullptr;
  }

  // Next on the welcome page: the folder page with InstallFolder + title in the edit box.
  bool GoToFolderPage(HWND form, const std::string& title = kTitle) {
    Click(Control(form, kNextButtonId));
    const std::string expected = programFilesFolder + "\\" + title;
    const bool shown = WaitUntil([&] { return WindowText(Control(form, kFolderEditId)) == expected; }, 10000);
    EXPECT_TRUE(shown) << "folder edit box: " << WindowText(Control(form, kFolderEditId));
    return shown;
  }

  // The finish page, or a recorded failure naming the message box that came instead.
  bool WaitForFinishPage(HWND form, int milliseconds = kStepTimeout) {
    std::string box;
    const bool finished = WaitUntil(
        [&] {
          for (const MessageBoxInfo& info : FindMessageBoxes(installer.Id())) box = info.title + ": " + info.text;
          return !box.empty() || WindowText(Control(form, kNextButtonId)) == "完成";
        },
        milliseconds);
    EXPECT_TRUE(finished && box.empty()) << "no finish page; message box [" << box << "]";
    return finished && box.empty();
  }

  // Next with a usable target: the library's failure is told under the product title, then
  // the install error, and the folder page is back with nothing unpacked.
  void ExpectExtractionRefused(HWND form, const std::string& text) {
    const std::string target = testFolder + "\\target";
    SetFolderText(form, target);
    Click(Control(form, kNextButtonId));
    ExpectMessage(kProductTitle, text);
    ExpectMessage("", kInstallErrorText);
    // The buttons come back before the page does.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Control(form, kNextButtonId)) != FALSE; }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Control(form, kFolderEditId)) != FALSE; }, 2000));
    EXPECT_FALSE(FileExists(target + "\\readme.txt"));
  }

  // The message box that must come now: its title and text are checked, then OK pressed.
  void ExpectMessage(const std::string& title, const std::string& text, int milliseconds = kStepTimeout) {
    const auto box = WaitForMessageBox(installer.Id(), milliseconds);
    ASSERT_TRUE(box.has_value()) << "no message box: " << text;
    EXPECT_EQ(box->title, title);
    EXPECT_EQ(box->text, text);
    PressMessageBoxButton(*box, box->buttons.empty() ? IDOK : box->buttons.front().id);
    WaitUntil([&] { return FindMessageBoxes(installer.Id()).empty(); }, 5000);
  }
};

TEST_F(InstallTest, DownloadsUnpacksIntoTheTrimmedFolderAndCleansUpWhenClosed) {
  const HWND form = StartAtWelcomePage(Installer(), "188.7z");
  ASSERT_TRUE(form);
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
  ASSERT_TRUE(GoToFolderPage(form));

  const std::string target = testFolder + "\\安装 目标\\游戏";  // missing, with a blank
  SetFolderText(form, "  " + target + "  ");
  Click(Control(form, kNextButtonId));
  ASSERT_TRUE(WaitForFinishPage(form));

  EXPECT_EQ(WindowText(Control(form, kFolderEditId)), target + "\\");
  EXPECT_EQ(WindowText(Control(form, kProgressHintId)), "解压完成，请点下一步继续");
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId}) {
    EXPECT_TRUE(IsWindowEnabled(Control(form, id))) << id;
  }
  ExpectSameTree(HarnessArgument("tree"), target);
  EXPECT_TRUE(FileExists(tempFolder + "\\7-zip32.dll"));
  SaveScreenshot(form);

  Click(Control(form, kCancelButtonId));
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(tempFolder + "\\188.7z"));
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
}

TEST_F(InstallTest, RefusesBareDrivesShortTextAndNetworkPaths) {
  const HWND form = StartAtWelcomePage(Installer(), "188.7z");
  ASSERT_TRUE(form);
  ASSERT_TRUE(GoToFolderPage(form));
  const std::string mustUseFolder =
      "必须安装在文件夹中！！！\r\n\r\n已经你增加了文件夹，请查看\r\n\r\n   　　－－－－感谢你使用【岚舟软件】";
  const std::string pathError =
      "目标文件夹路径错误！！！\r\n\r\n请检查输入完整的目标文件夹\r\n\r\n　　　－－－－感谢你使用【岚舟软件】";
  const std::string offered = programFilesFolder + "\\" + kTitle;
  const struct {
    const char* typed;
    const std::string& message;
    bool refilled;
  } cases[] = {
      {"C:", mustUseFolder, true},
      {" C:\\ ", mustUseFolder, true},
      {"C:\\\\", mustUseFolder, true},
      {"C:\\games\\..", mustUseFolder, true},
      {"ab", pathError, false},
      {"\\\\server\\share\\游戏", pathError, false},
      {"C/games", pathError, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    SetFolderText(form, c.typed);
    Click(Control(form, kNextButtonId));
    ExpectMessage(kInstallTitle, c.message);
    // The edit box is refilled after the message box has closed.
    const std::string expected = c.refilled ? offered : std::string(c.typed);
    WaitUntil([&] { return WindowText(Control(form, kFolderEditId)) == expected; }, 2000);
    EXPECT_EQ(WindowText(Control(form, kFolderEditId)), expected);
    EXPECT_EQ(WindowText(Control(form, kNextButtonId)), "下一步");
  }
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));  // nothing went further
}

TEST_F(InstallTest, StopsProgramsInTheFolderButNeitherItselfNorOthers) {
  // The installer runs from inside the target folder; a sleeper runs from a subfolder, another
  // from a folder whose name differs only in a second byte (發 B0 6C, 癓 B0 4C).
  PrepareTestFolders();
  const std::string target = testFolder + "\\發";
  const std::string other = testFolder + "\\癓";
  MakeFolders(target + "\\bin");
  MakeFolders(other);
  const std::string copy = target + "\\setup.exe";
  ASSERT_TRUE(CopyFileA(Installer().c_str(), copy.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(HarnessArgument("sleeper").c_str(), (target + "\\bin\\Game.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(HarnessArgument("sleeper").c_str(), (other + "\\Game.exe").c_str(), FALSE));
  InstallerProcess game, unrelated;
  ASSERT_TRUE(game.Start(target + "\\bin\\Game.exe", {}));
  ASSERT_TRUE(unrelated.Start(other + "\\Game.exe", {}));

  const HWND form = StartAtWelcomePage(copy, "188.7z");
  ASSERT_TRUE(form);
  ASSERT_TRUE(GoToFolderPage(form));
  SetFolderText(form, target);
  Click(Control(form, kNextButtonId));

  const auto box = WaitForMessageBox(installer.Id(), kStepTimeout);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, "请退出【应用或游戏】");
  const std::string rule(50, '-');
  EXPECT_EQ(box->text, "发现目标文件夹中有【游戏或软件】运行中！！！\r\n\r\n" + rule + "\r\n" + kTitle + "\r\n\r\n" + target +
                           "\\bin\\Game.exe\r\n" + rule +
                           "\r\n\r\n为了避免自动强退【游戏造成逃跑】或【应用会丢失数据】的问题，\r\n\r\n"
                           "请在【确定】前先把相关【游戏或应用】退出。");
  EXPECT_FALSE(IsWindowEnabled(Control(form, kNextButtonId)));
  EXPECT_FALSE(IsWindowEnabled(Control(form, kBrowseButtonId)));
  EXPECT_TRUE(game.IsRunning());  // warned first, stopped after OK
  PressMessageBoxButton(*box, box->buttons.front().id);

  const auto gameExit = game.WaitForExit(5000);
  ASSERT_TRUE(gameExit.has_value()) << "the program in the folder was not stopped";
  EXPECT_EQ(*gameExit, 0u);
  // The pause runs the bar from 1 to 100 while Form1 keeps answering.
  const HWND bar = Control(form, kProgressBarId);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 10; }, 4000));
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 1);
  EXPECT_FALSE(IsWindowEnabled(Control(form, kCancelButtonId)));

  ASSERT_TRUE(WaitForFinishPage(form));
  EXPECT_TRUE(installer.IsRunning());
  EXPECT_TRUE(unrelated.IsRunning());
  EXPECT_TRUE(FileExists(target + "\\readme.txt"));
}

TEST_F(InstallTest, AfterFolderOrExtractionFailureTheUserCanChooseAgain) {
  const HWND form = StartAtWelcomePage(Installer(), "188.7z");
  ASSERT_TRUE(form);
  ASSERT_TRUE(GoToFolderPage(form));

  // A file stands where a folder is needed.
  const std::string blocker = testFolder + "\\blocker";
  CloseHandle(CreateFileA(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  SetFolderText(form, blocker + "\\游戏");
  Click(Control(form, kNextButtonId));
  ExpectMessage(kInstallTitle,
                "创建文件夹时出错，无法创建文件夹\r\n\r\n可能是以下原因造成的：\r\n\r\n1.磁盘已满，请换个盘安装！\r\n"
                "2.此盘是光驱，请换个盘安装！\r\n3.没有此盘，请换个盘安装！\r\n4.文件夹名称有非法字符，请更名！\r\n\r\n"
                "        　　　－－－－请自己检查后更正。");
  EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(form); }, 2000)) << "buttons left disabled";
  EXPECT_EQ(WindowText(Control(form, kNextButtonId)), "下一步");

  // A folder stands where the package has a file: the library cannot write it.
  const std::string target = testFolder + "\\target";
  MakeFolders(target + "\\readme.txt\\inside");
  SetFolderText(form, target);
  Click(Control(form, kNextButtonId));
  ExpectMessage("", kInstallErrorText);
  EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(form); }, 2000)) << "buttons left disabled";
  EXPECT_EQ(WindowText(Control(form, kNextButtonId)), "下一步");
  EXPECT_TRUE(IsWindowVisible(Control(form, kFolderEditId)));  // back on the folder page

  // The way out works: a usable folder, and the library already loaded is used again.
  RemoveTree(target);
  Click(Control(form, kNextButtonId));
  ASSERT_TRUE(WaitForFinishPage(form));
  ExpectSameTree(HarnessArgument("tree"), target);
}

TEST_F(InstallTest, CloseDuringExtractionIsRefusedAndYesEndsTheProgram) {
  const HWND form = StartAtWelcomePage(HarnessArgument("big-installer"), "big.7z");
  ASSERT_TRUE(form);
  Click(Control(form, kNextButtonId));  // extract-only: the install action runs at once
  const HWND hint = Control(form, kProgressHintId);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(hint).rfind("解压：", 0) == 0; }, kStepTimeout))
      << "no extraction progress; hint: " << WindowText(hint);

  const struct {
    int button;
    bool ends;
  } answers[] = {{IDNO, false}, {IDYES, true}};
  for (const auto& answer : answers) {
    SCOPED_TRACE(answer.button);
    PostMessageA(form, WM_CLOSE, 0, 0);
    const auto box = WaitForMessageBox(installer.Id(), 10000);
    ASSERT_TRUE(box.has_value()) << "no question; the extraction may have ended too soon";
    EXPECT_EQ(box->title, "岚舟软件安装");
    EXPECT_EQ(box->text, "正在解压文件中，是否要强制停止解压？");
    PressMessageBoxButton(*box, answer.button);
    if (answer.ends) {
      ExpectExitCode(0);
    } else {
      Sleep(300);
      EXPECT_TRUE(IsWindow(form));
      EXPECT_NE(WindowText(Control(form, kNextButtonId)), "完成");
    }
  }
  // Ended from the stopped step, not by closing Form1: the downloads stay.
  EXPECT_TRUE(FileExists(tempFolder + "\\big.7z"));
}

TEST_F(InstallTest, LibraryDownloadFailureEndsTheProgram) {
  const HWND form = StartAtWelcomePage(Installer(), "188.7z");
  ASSERT_TRUE(form);
  ASSERT_TRUE(GoToFolderPage(form));
  ASSERT_TRUE(SteerTestHost("status=404"));
  SetFolderText(form, testFolder + "\\target");
  Click(Control(form, kNextButtonId));
  ExpectMessage(kInstallTitle,
                "下载解压支持库文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、\r\n杀毒软件拦截、不可以上网等"
                "\r\n\r\n       　－－－－感谢你使用【岚舟软件】");
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll.tmp"));
}

TEST_F(InstallTest, LibraryThatDoesNotLoadIsToldAndTheFolderPageComesBack) {
  PrepareTestFolders();
  const HANDLE file = CreateFileA((tempFolder + "\\7-zip32.dll").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "MZ but no library", 17, &written, nullptr);
  CloseHandle(file);
  const HWND form = StartAtWelcomePage(Installer(), "188.7z");
  ASSERT_TRUE(form);
  ASSERT_TRUE(GoToFolderPage(form));
  ExpectExtractionRefused(form, "无法加载【7-zip32.dll】文件\r\n\r\n此为解压支持库文件，请检查自己检查。");
}

TEST_F(InstallTest, PackageThatIsNoArchiveIsToldAndTheFolderPageComesBack) {
  PrepareTestFolders();
  const std::string package = tempFolder + "\\188.7z";
  // Its information block is good; what it stands on is not an archive.
  ASSERT_TRUE(CopyFileA(HarnessArgument("not-an-archive").c_str(), package.c_str(), FALSE));
  const HWND form = StartAtWelcomePage(Installer(), "188.7z");
  ASSERT_TRUE(form);
  ASSERT_TRUE(GoToFolderPage(form, "下载测试"));
  ExpectExtractionRefused(form, package + "\r\n\r\n检查文件出错！文件不存在或者不是7ZIP文件。");
}

TEST_F(InstallTest, RunningOutOfMemoryEndsWithExitCodeZero) {
  const HWND form = StartAtWelcomePage(HarnessArgument("out-of-memory"), "188.7z");
  ASSERT_TRUE(form);
  ASSERT_TRUE(GoToFolderPage(form));
  Click(Control(form, kNextButtonId));
  ExpectExitCode(0);
}

TEST_F(InstallTest, ClosingDuringThePauseAfterStoppingProgramsEndsTheInstallation) {
  PrepareTestFolders();
  const std::string target = testFolder + "\\game";
  MakeFolders(target);
  ASSERT_TRUE(CopyFileA(HarnessArgument("sleeper").c_str(), (target + "\\Game.exe").c_str(), FALSE));
  InstallerProcess game;
  ASSERT_TRUE(game.Start(target + "\\Game.exe", {}));

  const HWND form = StartAtWelcomePage(Installer(), "188.7z");
  ASSERT_TRUE(form);
  ASSERT_TRUE(GoToFolderPage(form));
  SetFolderText(form, target);
  Click(Control(form, kNextButtonId));
  const auto box = WaitForMessageBox(installer.Id(), kStepTimeout);
  ASSERT_TRUE(box.has_value());
  PressMessageBoxButton(*box, box->buttons.front().id);
  const HWND bar = Control(form, kProgressBarId);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 5; }, 4000));
  PostMessageA(form, WM_CLOSE, 0, 0);
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(target + "\\readme.txt"));
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
}

}  // namespace
