// The install action as a user meets it: from an empty TEMP through the folder page, the
// library download and the extraction to the finish page; refused folders; programs running
// from the target folder; failures that leave the user able to act again; closing while
// unpacking; the clean-up when Form1 closes.
#include "InstallerTest.h"

#include <commctrl.h>

namespace {

constexpr char kTitle[] = "测试软件";
constexpr char kInstallTitle[] = "软件安装";
constexpr char kProductTitle[] = "安装岚舟软件";
constexpr char kInstallErrorText[] =
    "安装文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、杀毒软件拦截等\r\n\r\n"
    "　　　－－－－感谢你使用【岚舟软件】";

bool ButtonsEnabled(HWND form) {
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId, kBrowseButtonId}) {
    if (!IsWindowEnabled(GetDlgItem(form, id))) return false;
  }
  return true;
}

class InstallTest : public InstallerTest {
 protected:
  // Starts the installer and waits for the welcome page after the package download.
  HWND StartAtWelcomePage(const std::string& program, const std::string& package = "188.7z") {
    const HWND form = StartInstaller(program);
    return WaitForWelcomePage(form, "", package) ? form : nullptr;
  }

  // Then Next: the folder page with InstallFolder + title in the edit box.
  HWND StartAtFolderPage(const std::string& program, const std::string& title = kTitle) {
    const HWND form = StartAtWelcomePage(program);
    if (!form) return nullptr;
    Click(GetDlgItem(form, kNextButtonId));
    const HWND edit = GetDlgItem(form, kFolderEditId);
    const bool shown = WaitUntil([&] { return WindowText(edit) == programFilesFolder + "\\" + title; }, 10000);
    EXPECT_TRUE(shown) << "folder edit box: " << WindowText(edit);
    return shown ? form : nullptr;
  }

  void InstallInto(HWND form, const std::string& target) {
    TypeText(GetDlgItem(form, kFolderEditId), target);
    Click(GetDlgItem(form, kNextButtonId));
  }
};

// Refused folders (which texts fall under which is the native rules' table), a file where
// a folder is needed and a folder where the package has a file: each told, and the user is
// back on the folder page to choose again; the library is fetched only for an extraction.
// Then a missing folder typed with blanks around it is trimmed, made and unpacked into with
// the library already loaded, and closing Form1 cleans TEMP up.
TEST_F(InstallTest, ChoosesAgainAfterRefusalsAndFailuresThenUnpacksAndCleansUp) {
  const HWND form = StartAtFolderPage(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  const HWND edit = GetDlgItem(form, kFolderEditId);
  const std::string blocker = testFolder + "\\blocker", target = testFolder + "\\target";
  ASSERT_TRUE(WriteFileBytes(blocker, ""));
  MakeFolders(target + "\\readme.txt\\inside");
  const struct {
    std::string typed, title, text;
    std::string edit;  // what the edit box is left with, when it matters
    bool library;
  } cases[] = {
      {"C:\\games\\..", kInstallTitle,
       "必须安装在文件夹中！！！\r\n\r\n已经你增加了文件夹，请查看\r\n\r\n   　　－－－－感谢你使用【岚舟软件】",
       programFilesFolder + "\\" + kTitle, false},
      {"\\\\server\\share\\游戏", kInstallTitle,
       "目标文件夹路径错误！！！\r\n\r\n请检查输入完整的目标文件夹\r\n\r\n　　　－－－－感谢你使用【岚舟软件】",
       "\\\\server\\share\\游戏", false},
      {blocker + "\\游戏", kInstallTitle,
       "创建文件夹时出错，无法创建文件夹\r\n\r\n可能是以下原因造成的：\r\n\r\n1.磁盘已满，请换个盘安装！\r\n"
       "2.此盘是光驱，请换个盘安装！\r\n3.没有此盘，请换个盘安装！\r\n4.文件夹名称有非法字符，请更名！\r\n\r\n"
       "        　　　－－－－请自己检查后更正。",
       "", false},
      {target, "", kInstallErrorText, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    InstallInto(form, c.typed);
    ExpectMessage(c.title, c.text);
    // The buttons, the folder page and the edit box's text come back after the box has closed.
    EXPECT_TRUE(WaitUntil(
        [&] { return ButtonsEnabled(form) && IsWindowVisible(edit) && (c.edit.empty() || WindowText(edit) == c.edit); },
        2000))
        << WindowText(edit);
    EXPECT_EQ(WindowText(GetDlgItem(form, kNextButtonId)), "下一步");
    EXPECT_EQ(FileExists(tempFolder + "\\7-zip32.dll"), c.library);
  }

  const std::string folder = testFolder + "\\安装 目标\\游戏";
  InstallInto(form, "  " + folder + "  ");
  ASSERT_TRUE(WaitForFinishPage(form));
  EXPECT_EQ(WindowText(edit), folder + "\\");
  EXPECT_EQ(WindowText(GetDlgItem(form, kProgressHintId)), "解压完成，请点下一步继续");
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId}) {
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, id))) << id;
  }
  ExpectSameTree(HarnessArgument("tree"), folder);
  EXPECT_TRUE(FileExists(tempFolder + "\\7-zip32.dll"));
  Click(GetDlgItem(form, kCancelButtonId));
  ExpectExitCode(0);
  EXPECT_FALSE(FileExists(tempFolder + "\\188.7z") || FileExists(tempFolder + "\\7-zip32.dll")) << "left in TEMP";
}

// The proposed folder below Program Files: every name of the package, in any script, and
// paths past MAX_PATH land exactly as 7z unpacks them.
TEST_F(InstallTest, UnpacksEveryNameAndLongPathBelowProgramFiles) {
  const HWND form = StartAtFolderPage(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  Click(GetDlgItem(form, kNextButtonId));
  ASSERT_TRUE(WaitForFinishPage(form));
  ExpectSameTree(HarnessArgument("tree"), programFilesFolder + "\\" + kTitle);
}

TEST_F(InstallTest, StopsProgramsInTheFolderButNeitherItselfNorOthers) {
  for (const bool closeDuringPause : {false, true}) {
    SCOPED_TRACE(closeDuringPause ? "closed during the pause" : "left to finish");
    NewRun();
    const std::string target = testFolder + "\\發", other = testFolder + "\\癓";
    MakeFolders(target + "\\bin");
    MakeFolders(other);
    const std::string copy = target + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(HarnessArgument("installer").c_str(), copy.c_str(), FALSE));
    InstallerProcess game, unrelated;
    for (auto [process, path] : {std::pair{&game, target + "\\bin\\Game.exe"}, std::pair{&unrelated, other + "\\Game.exe"}}) {
      ASSERT_TRUE(CopyFileA(HarnessArgument("probe").c_str(), path.c_str(), FALSE));
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
    Answer(box, box.buttons.front());

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
      EXPECT_FALSE(FileExists(target + "\\readme.txt") || FileExists(tempFolder + "\\7-zip32.dll")) << "the installation went on after Form1 closed";
    } else {
      ASSERT_TRUE(WaitForFinishPage(form));
      EXPECT_TRUE(installer.IsRunning());
      EXPECT_TRUE(FileExists(target + "\\readme.txt"));
    }
    EXPECT_TRUE(unrelated.IsRunning());
  }
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

// What the library cannot use is told under the product title, then the install error, and
// the folder page is back with nothing unpacked; a library that cannot be downloaded ends
// the program.
TEST_F(InstallTest, UnusableOrMissingLibraryAndPackageAreTold) {
  PrepareTestFolders();
  const std::string package = tempFolder + "\\188.7z", library = tempFolder + "\\7-zip32.dll";
  const struct {
    std::string planted, bytes, title;  // put in TEMP first; the package's title
    const char* steering;               // for the hosts, once on the folder page
    std::vector<std::pair<std::string, std::string>> messages;
  } cases[] = {
      {library, "MZ but no library", kTitle, "",
       {{kProductTitle, "无法加载【7-zip32.dll】文件\r\n\r\n此为解压支持库文件，请检查自己检查。"}, {"", kInstallErrorText}}},
      // Its information block is good; what it stands on is not an archive.
      {package, ReadFileBytes(HarnessArgument("not-an-archive")), "下载测试", "",
       {{kProductTitle, package + "\r\n\r\n检查文件出错！文件不存在或者不是7ZIP文件。"}, {"", kInstallErrorText}}},
      {"", "", kTitle, "status=404",
       {{kInstallTitle, "下载解压支持库文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、\r\n"
                        "杀毒软件拦截、不可以上网等\r\n\r\n       　－－－－感谢你使用【岚舟软件】"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.messages.front().second);
    NewRun();  // the same folders, emptied
    ASSERT_TRUE(c.planted.empty() || WriteFileBytes(c.planted, c.bytes));
    const HWND form = StartAtFolderPage(HarnessArgument("installer"), c.title);
    ASSERT_TRUE(form);
    ASSERT_TRUE(Steer(c.steering));
    const std::string target = testFolder + "\\target";
    InstallInto(form, target);
    for (const auto& [title, text] : c.messages) ExpectMessage(title, text);
    if (*c.steering) {
      ExpectExitCode(0);
      EXPECT_FALSE(FileExists(library) || FileExists(library + ".tmp"));
    } else {
      // The buttons come back, then the page.
      const HWND edit = GetDlgItem(form, kFolderEditId);
      EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(form) && IsWindowVisible(edit); }, 4000));
    }
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
