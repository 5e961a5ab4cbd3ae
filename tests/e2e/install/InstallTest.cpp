// The install action as a user meets it: from an empty TEMP through the folder page, the
// library download and the extraction to the finish page; refused folders; programs running
// from the target folder; failures that leave the user able to act again; closing while
// unpacking; the clean-up when Form1 closes.
#include "InstallerTest.h"

#include <commctrl.h>

#include <string>

namespace {

constexpr char kTitle[] = "测试软件";
constexpr char kInstallTitle[] = "软件安装";
constexpr char kProductTitle[] = "安装岚舟软件";
constexpr char kInstallErrorText[] =
    "安装文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、杀毒软件拦截等\r\n\r\n"
    "　　　－－－－感谢你使用【岚舟软件】";

std::string Installer() { return HarnessArgument("installer"); }

bool ButtonsEnabled(HWND form) {
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId, kBrowseButtonId}) {
    if (!IsWindowEnabled(GetDlgItem(form, id))) return false;
  }
  return true;
}

class InstallTest : public InstallerTest {
 protected:
  void TearDown() override {
    InstallerTest::TearDown();
    SteerTestHost("");
  }

  // Starts the installer and waits for the welcome page after the package download.
  HWND StartAtWelcomePage(const std::string& program, const std::string& package = "188.7z") {
    const HWND form = StartInstaller(program);
    if (!form) return nullptr;
    const bool downloaded = WaitUntil([&] { return FileExists(tempFolder + "\\" + package); }, kStepTimeout);
    EXPECT_TRUE(downloaded) << "the package was not downloaded";
    const bool welcome = WaitUntil([&] { return IsWindowVisible(GetDlgItem(form, kNextButtonId)) != FALSE; }, 10000);
    EXPECT_TRUE(welcome) << "no welcome page";
    return downloaded && welcome ? form : nullptr;
  }

  // Then Next: the folder page with InstallFolder + title in the edit box.
  HWND StartAtFolderPage(const std::string& program, const std::string& title = kTitle) {
    const HWND form = StartAtWelcomePage(program);
    if (!form) return nullptr;
    Click(GetDlgItem(form, kNextButtonId));
    const HWND edit = GetDlgItem(form, kFolderEditId);
    const std::string expected = programFilesFolder + "\\" + title;
    const bool shown = WaitUntil([&] { return WindowText(edit) == expected; }, 10000);
    EXPECT_TRUE(shown) << "folder edit box: " << WindowText(edit);
    return shown ? form : nullptr;
  }

  void InstallInto(HWND form, const std::string& target) {
    TypeText(GetDlgItem(form, kFolderEditId), target);
    Click(GetDlgItem(form, kNextButtonId));
  }

  // The message box that must come now: its title and text are checked, then OK pressed.
  void ExpectMessage(const std::string& title, const std::string& text) {
    const MessageBoxInfo box = ExpectMessageBox(title);
    EXPECT_EQ(box.text, text);
    Answer(box, box.buttons.empty() ? IDOK : box.buttons.front().id);
  }
};

TEST_F(InstallTest, DownloadsUnpacksIntoTheTrimmedFolderAndCleansUpWhenClosed) {
  const HWND form = StartAtFolderPage(Installer());
  ASSERT_TRUE(form);
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
  const std::string target = testFolder + "\\安装 目标\\游戏";  // missing, with a blank
  InstallInto(form, "  " + target + "  ");
  ASSERT_TRUE(WaitForFinishPage(form));

  EXPECT_EQ(WindowText(GetDlgItem(form, kFolderEditId)), target + "\\");
  EXPECT_EQ(WindowText(GetDlgItem(form, kProgressHintId)), "解压完成，请点下一步继续");
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId}) {
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, id))) << id;
  }
  ExpectSameTree(HarnessArgument("tree"), target);
  EXPECT_TRUE(FileExists(tempFolder + "\\7-zip32.dll"));

  Click(GetDlgItem(form, kCancelButtonId));
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(tempFolder + "\\188.7z"));
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
}

// One folder per message; which texts fall under which is the native rules' table.
TEST_F(InstallTest, RefusesBareDrivesAndNetworkPaths) {
  const HWND form = StartAtFolderPage(Installer());
  ASSERT_TRUE(form);
  const struct {
    const char* typed;
    const char* message;
    bool refilled;
  } cases[] = {
      {"C:\\games\\..", "必须安装在文件夹中！！！\r\n\r\n已经你增加了文件夹，请查看\r\n\r\n   　　－－－－感谢你使用【岚舟软件】", true},
      {"\\\\server\\share\\游戏", "目标文件夹路径错误！！！\r\n\r\n请检查输入完整的目标文件夹\r\n\r\n　　　－－－－感谢你使用【岚舟软件】", false},
  };
  const HWND edit = GetDlgItem(form, kFolderEditId);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    InstallInto(form, c.typed);
    ExpectMessage(kInstallTitle, c.message);
    // The edit box is refilled after the message box has closed.
    const std::string expected = c.refilled ? programFilesFolder + "\\" + kTitle : std::string(c.typed);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == expected; }, 2000)) << WindowText(edit);
    EXPECT_EQ(WindowText(GetDlgItem(form, kNextButtonId)), "下一步");
  }
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));  // nothing went further
}

// A program runs from the target folder: the user is warned, it is stopped after OK, and a
// pause runs the bar from 1 to 100 while Form1 keeps answering. Neither the installer, which
// runs from the folder too, nor a program in a folder whose name differs only in a second
// byte (發 B0 6C, 癓 B0 4C) is stopped. Closing during the pause ends the installation.
TEST_F(InstallTest, StopsProgramsInTheFolderButNeitherItselfNorOthers) {
  for (const bool closeDuringPause : {false, true}) {
    SCOPED_TRACE(closeDuringPause ? "closed during the pause" : "left to finish");
    installer.Terminate();
    testFolder.clear();
    PrepareTestFolders();
    const std::string target = testFolder + "\\發", other = testFolder + "\\癓";
    MakeFolders(target + "\\bin");
    MakeFolders(other);
    const std::string copy = target + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(Installer().c_str(), copy.c_str(), FALSE));
    InstallerProcess game, unrelated;
    for (auto [process, path] : {std::pair{&game, target + "\\bin\\Game.exe"}, std::pair{&unrelated, other + "\\Game.exe"}}) {
      ASSERT_TRUE(CopyFileA(HarnessArgument("sleeper").c_str(), path.c_str(), FALSE));
      ASSERT_TRUE(process->Start(path, {}));
    }

    const HWND form = StartAtFolderPage(copy);
    ASSERT_TRUE(form);
    InstallInto(form, target);
    const MessageBoxInfo box = ExpectMessageBox("请退出【应用或游戏】");
    const std::string rule(50, '-');
    EXPECT_EQ(box.text, "发现目标文件夹中有【游戏或软件】运行中！！！\r\n\r\n" + rule + "\r\n" + kTitle + "\r\n\r\n" + target +
                            "\\bin\\Game.exe\r\n" + rule +
                            "\r\n\r\n为了避免自动强退【游戏造成逃跑】或【应用会丢失数据】的问题，\r\n\r\n"
                            "请在【确定】前先把相关【游戏或应用】退出。");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, kNextButtonId)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, kBrowseButtonId)));
    EXPECT_TRUE(game.IsRunning());  // warned first, stopped after OK
    ASSERT_FALSE(box.buttons.empty());
    Answer(box, box.buttons.front().id);

    const auto gameExit = game.WaitForExit(5000);
    ASSERT_TRUE(gameExit.has_value()) << "the program in the folder was not stopped";
    EXPECT_EQ(*gameExit, 0u);
    const HWND bar = GetDlgItem(form, kProgressBarId);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 5; }, 4000));
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 1);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, kCancelButtonId)));
    if (closeDuringPause) {
      PostMessageA(form, WM_CLOSE, 0, 0);
      ExpectExitCode(0);
      EXPECT_FALSE(FileExists(target + "\\readme.txt"));
      EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
    } else {
      ASSERT_TRUE(WaitForFinishPage(form));
      EXPECT_TRUE(installer.IsRunning());
      EXPECT_TRUE(FileExists(target + "\\readme.txt"));
    }
    EXPECT_TRUE(unrelated.IsRunning());
  }
}

TEST_F(InstallTest, AfterFolderOrExtractionFailureTheUserCanChooseAgain) {
  const HWND form = StartAtFolderPage(Installer());
  ASSERT_TRUE(form);

  // A file stands where a folder is needed.
  const std::string blocker = testFolder + "\\blocker";
  ASSERT_TRUE(WriteFileBytes(blocker, ""));
  InstallInto(form, blocker + "\\游戏");
  ExpectMessage(kInstallTitle,
                "创建文件夹时出错，无法创建文件夹\r\n\r\n可能是以下原因造成的：\r\n\r\n1.磁盘已满，请换个盘安装！\r\n"
                "2.此盘是光驱，请换个盘安装！\r\n3.没有此盘，请换个盘安装！\r\n4.文件夹名称有非法字符，请更名！\r\n\r\n"
                "        　　　－－－－请自己检查后更正。");
  EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(form); }, 2000)) << "buttons left disabled";
  EXPECT_EQ(WindowText(GetDlgItem(form, kNextButtonId)), "下一步");

  // A folder stands where the package has a file: the library cannot write it.
  const std::string target = testFolder + "\\target";
  MakeFolders(target + "\\readme.txt\\inside");
  InstallInto(form, target);
  ExpectMessage("", kInstallErrorText);
  EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(form); }, 2000)) << "buttons left disabled";
  EXPECT_EQ(WindowText(GetDlgItem(form, kNextButtonId)), "下一步");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(form, kFolderEditId)));  // back on the folder page

  // The way out works: a usable folder, and the library already loaded is used again.
  RemoveTree(target);
  Click(GetDlgItem(form, kNextButtonId));
  ASSERT_TRUE(WaitForFinishPage(form));
  ExpectSameTree(HarnessArgument("tree"), target);
}

TEST_F(InstallTest, CloseDuringExtractionIsRefusedAndYesEndsTheProgram) {
  const HWND form = StartAtWelcomePage(HarnessArgument("big-installer"), "big.7z");
  ASSERT_TRUE(form);
  Click(GetDlgItem(form, kNextButtonId));  // extract-only: the install action runs at once
  const HWND hint = GetDlgItem(form, kProgressHintId);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(hint).rfind("解压：", 0) == 0; }, kStepTimeout))
      << "no extraction progress; hint: " << WindowText(hint);

  for (const int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer);
    PostMessageA(form, WM_CLOSE, 0, 0);
    const MessageBoxInfo box = ExpectMessageBox("岚舟软件安装", 10000);
    ASSERT_TRUE(box.window) << "no question; the extraction may have ended too soon";
    EXPECT_EQ(box.text, "正在解压文件中，是否要强制停止解压？");
    PressMessageBoxButton(box, answer);
    if (answer == IDYES) {
      ExpectExitCode(0);
    } else {
      EXPECT_FALSE(installer.WaitForExit(300).has_value());
      EXPECT_NE(WindowText(GetDlgItem(form, kNextButtonId)), "完成");
    }
  }
  // Ended from the stopped step, not by closing Form1: the downloads stay.
  EXPECT_TRUE(FileExists(tempFolder + "\\big.7z"));
}

TEST_F(InstallTest, LibraryDownloadFailureEndsTheProgram) {
  const HWND form = StartAtFolderPage(Installer());
  ASSERT_TRUE(form);
  ASSERT_TRUE(SteerTestHost("status=404"));
  InstallInto(form, testFolder + "\\target");
  ExpectMessage(kInstallTitle,
                "下载解压支持库文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、\r\n杀毒软件拦截、不可以上网等"
                "\r\n\r\n       　－－－－感谢你使用【岚舟软件】");
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll"));
  EXPECT_FALSE(FileExists(tempFolder + "\\7-zip32.dll.tmp"));
}

// What the library cannot use is told under the product title, then the install error, and
// the folder page is back with nothing unpacked.
TEST_F(InstallTest, LibraryOrPackageUnusableIsToldAndTheFolderPageComesBack) {
  PrepareTestFolders();
  const std::string package = tempFolder + "\\188.7z";
  const struct {
    std::string planted, bytes, title, text;
  } cases[] = {
      {tempFolder + "\\7-zip32.dll", "MZ but no library", kTitle,
       "无法加载【7-zip32.dll】文件\r\n\r\n此为解压支持库文件，请检查自己检查。"},
      // Its information block is good; what it stands on is not an archive.
      {package, ReadFileBytes(HarnessArgument("not-an-archive")), "下载测试",
       package + "\r\n\r\n检查文件出错！文件不存在或者不是7ZIP文件。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.planted);
    installer.Terminate();
    testFolder.clear();
    PrepareTestFolders();  // the same folders, emptied
    ASSERT_TRUE(WriteFileBytes(c.planted, c.bytes));
    const HWND form = StartAtFolderPage(Installer(), c.title);
    ASSERT_TRUE(form);
    const std::string target = testFolder + "\\target";
    InstallInto(form, target);
    ExpectMessage(kProductTitle, c.text);
    ExpectMessage("", kInstallErrorText);
    // The buttons come back before the page does.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(form, kNextButtonId)) != FALSE; }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(form, kFolderEditId)) != FALSE; }, 2000));
    EXPECT_FALSE(FileExists(target + "\\readme.txt"));
  }
}

TEST_F(InstallTest, RunningOutOfMemoryEndsWithExitCodeZero) {
  const HWND form = StartAtFolderPage(HarnessArgument("out-of-memory"));
  ASSERT_TRUE(form);
  Click(GetDlgItem(form, kNextButtonId));
  ExpectExitCode(0);
}

}  // namespace
