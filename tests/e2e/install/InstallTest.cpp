// The install action as a user meets it: from an empty TEMP through the folder page, the
// library download and the extraction to the finish page; refused folders; programs running
// from the target folder; failures that leave the user able to act again; closing while
// unpacking; the clean-up when Form1 closes.
#include "InstallerTest.h"

#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <set>

#include "platform/GbkText.h"

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

DWORD WINAPI EndAtOnce(LPVOID) { return 0; }

// Ends the process and starts program with its number, as Windows may reuse a free number. Wine
// reuses the oldest free number while 256 are free: the process's threads' and its own come free
// (unless it is still held), 300 more after them, and our threads take numbers up to its own.
void EndAndHandOverNumber(InstallerProcess& process, InstallerProcess& next, const std::string& program) {
  const DWORD id = process.Id();
  std::set<DWORD> threads;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{sizeof entry};
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == id) threads.insert(entry.th32ThreadID);
  }
  CloseHandle(snapshot);
  process.Terminate();
  WaitUntil([&] { return !OpenProcess(SYNCHRONIZE, FALSE, id); }, 2000);  // gone, unless held
  for (int i = 0; i < 300; ++i) {
    const HANDLE thread = CreateThread(nullptr, 0, EndAtOnce, nullptr, 0, nullptr);
    WaitForSingleObject(thread, 5000), CloseHandle(thread);
  }
  std::vector<HANDLE> takers;
  for (DWORD taken = 0; !threads.empty() && taken != id && takers.size() < 4000; threads.erase(taken)) {
    takers.push_back(CreateThread(nullptr, 64 << 10, EndAtOnce, nullptr,
                                  CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, &taken));
  }
  next.Start(program, {});
  for (const HANDLE thread : takers) ResumeThread(thread), CloseHandle(thread);
  std::printf("the ended program's number went to the other one: %s\n", next.Id() == id ? "yes" : "no");
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

// Loaded by Windows programs of this kind (rich edit, themes, version checks, network, CNG).
constexpr const char* kPlantedNames[] = {"uxtheme",  "version", "propsys", "msftedit", "riched20",
                                         "riched32", "bcrypt",  "wininet", "winmm",    "msimg32",
                                         "dwmapi",   "winhttp", "userenv", "secur32"};

// Run from a Downloads folder with DLLs beside it and in TEMP named as system libraries, preferred
// to Wine's own as Windows prefers a program's folder for any non-KnownDLL, and with a library and
// an older package left in TEMP. Refused folders, a file where a folder is needed, a folder where
// the package has a file: each told, and the user chooses again; the library comes only for an
// extraction. Then a missing folder typed with blanks and a Hangul name is trimmed, made and unpacked into, the
// desktop shell starts the program, TEMP is cleaned, and nothing planted was loaded, read or touched.
TEST_F(InstallTest, ChoosesAgainAfterRefusalsAndFailuresThenInstallsWithoutPlantedFiles) {
  PrepareTestFolders();
  const std::string downloads = testFolder + "\\Downloads", program = downloads + "\\installer.exe";
  MakeFolders(downloads);
  ASSERT_TRUE(CopyFileA(HarnessArgument("installer").c_str(), program.c_str(), FALSE));
  std::string overrides;
  for (const char* name : kPlantedNames) {
    for (const std::string& folder : {downloads, tempFolder}) {
      ASSERT_TRUE(CopyFileA(HarnessArgument("planted").c_str(), (folder + "\\" + name + ".dll").c_str(), FALSE));
    }
    overrides += std::string(name) + ",";
  }
  SetEnvironmentVariableA("WINEDLLOVERRIDES", (overrides + "=n,b").c_str());
  const std::map<std::string, std::string> planted = {
      {tempFolder + "\\7-zip32.dll", "MZ planted, and no library at all"},
      {tempFolder + "\\188.7z", ReadFileBytes(HarnessArgument("not-an-archive"))}};
  for (const auto& [path, bytes] : planted) ASSERT_TRUE(WriteFileBytes(path, bytes));
  const HWND form = StartAtFolderPage(program);
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
    EXPECT_EQ(FileExists(RunFile("7-zip32.dll")), c.library);
  }

  // One of its names has no GBK form: the folder is held by its short name from then on.
  const std::wstring typed = std::wstring(WideText(testFolder)) + L"\\安装 目标\\게임";
  SendMessageW(edit, WM_SETTEXT, 0, LPARAM((L"  " + typed + L"  ").c_str()));
  Click(GetDlgItem(form, kNextButtonId));
  ASSERT_TRUE(WaitForFinishPage(form));
  const std::string folder = GbkPathFromWide(typed.c_str());
  EXPECT_EQ(WindowText(edit), folder + "\\");
  EXPECT_EQ(WindowText(GetDlgItem(form, kProgressHintId)), "解压完成，请点下一步继续");
  for (const int id : {kNextButtonId, kCancelButtonId, kBackButtonId}) {
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, id))) << id;
  }
  ExpectSameTree(HarnessArgument("tree"), folder);
  EXPECT_TRUE(FileExists(RunFile("7-zip32.dll")));
  Click(GetDlgItem(form, kNextButtonId));  // shortcut and launch, both checked
  ExpectExitCode(0);
  EXPECT_EQ(WaitForLaunchReport(folder + "\\bin\\app.exe"),
            (std::vector<std::string>{folder, folder + "\\", "desktop shell"}));
  EXPECT_EQ(RunFile(""), "") << "the run's folder is left in TEMP";
  for (const auto& [path, bytes] : planted) EXPECT_TRUE(ReadFileBytes(path) == bytes) << path;
  SetEnvironmentVariableA("WINEDLLOVERRIDES", nullptr);
  for (const char* name : kPlantedNames) {
    for (const std::string& folder : {downloads, tempFolder})
      EXPECT_FALSE(FileExists(folder + "\\" + name + ".dll.loaded"));
  }
}

// The proposed folder below Program Files: every name of the package, in any script, and
// paths past MAX_PATH land exactly as 7z unpacks them.
// The whole road, which also runs under code pages 1252, 950 and 932: the texts read back wide are
// the same, the folder and the shortcut carry the title, and a picture of each page is kept.
TEST_F(InstallTest, UnpacksEveryNameAndLongPathBelowProgramFiles) {
  const std::string pictures = FreshFolder("pages-" + std::to_string(GetACP())) + "\\";
  const HWND form = StartAtFolderPage(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  EXPECT_EQ(WindowText(form), "安装岚舟软件 V3.1.2.525 版");
  EXPECT_EQ(WindowText(GetDlgItem(form, kCancelButtonId)), "取消");
  EXPECT_EQ(WindowText(GetDlgItem(form, kFolderGroupId)), "选择目标文件夹");
  SavePng(CaptureClientArea(form), pictures + "folder.png");
  Click(GetDlgItem(form, kNextButtonId));
  ASSERT_TRUE(WaitForFinishPage(form));
  SavePng(CaptureClientArea(form), pictures + "finish.png");
  const std::string folder = programFilesFolder + "\\" + kTitle;
  ExpectSameTree(HarnessArgument("tree"), folder);
  wchar_t desktop[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, desktop);
  const std::string link = GbkPathFromWide(desktop) + "\\" + kTitle + ".lnk";
  DeleteFileW(WideText(link));
  Click(GetDlgItem(form, kNextButtonId));  // shortcut and launch, both checked
  ExpectExitCode(0);
  EXPECT_EQ(WaitForLaunchReport(folder + "\\bin\\app.exe"),
            (std::vector<std::string>{folder, folder + "\\", "desktop shell"}));
  EXPECT_TRUE(FileExists(link)) << link;
}

// A program running from the folder is warned about, then stopped; not the installer running
// there too, nor one elsewhere, nor one that got the number of a program that ended meanwhile.
TEST_F(InstallTest, StopsProgramsInTheFolderButNeitherItselfNorOthers) {
  enum Row { kLeftToFinish, kClosedDuringPause, kEndedDuringWarning };
  for (const Row row : {kLeftToFinish, kClosedDuringPause, kEndedDuringWarning}) {
    SCOPED_TRACE(row);
    NewRun();
    const std::string target = testFolder + "\\發", other = testFolder + "\\癓";
    MakeFolders(target + "\\bin");
    MakeFolders(other);
    const std::string copy = target + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(HarnessArgument("installer").c_str(), copy.c_str(), FALSE));
    InstallerProcess game, unrelated, numberTaker;
    for (auto [process, path] :
         {std::pair{&game, target + "\\bin\\Game.exe"}, std::pair{&unrelated, other + "\\Game.exe"}}) {
      ASSERT_TRUE(CopyFileA(HarnessArgument("probe").c_str(), path.c_str(), FALSE));
      ASSERT_TRUE(process->Start(path, {}));
    }

    const HWND form = StartAtFolderPage(copy);
    ASSERT_TRUE(form);
    InstallInto(form, target);
    const MessageBoxInfo box = ExpectMessageBox("请退出【应用或游戏】");
    const std::string rule(50, '-');
    EXPECT_EQ(box.text, "发现目标文件夹中有【游戏或软件】运行中！！！\r\n\r\n" + rule + "\r\n" + kTitle + "\r\n\r\n" +
                            target + "\\bin\\Game.exe\r\n" + rule +
                            "\r\n\r\n为了避免自动强退【游戏造成逃跑】或【应用会丢失数据】的问题，\r\n\r\n"
                            "请在【确定】前先把相关【游戏或应用】退出。");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, kNextButtonId)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, kBrowseButtonId)));
    EXPECT_TRUE(game.IsRunning());  // warned first, stopped after OK
    ASSERT_FALSE(box.buttons.empty());
    if (row == kEndedDuringWarning) EndAndHandOverNumber(game, numberTaker, other + "\\Game.exe");
    Answer(box, box.buttons.front());

    if (row != kEndedDuringWarning) EXPECT_EQ(game.WaitForExit(5000), std::optional<DWORD>(0)) << "not stopped";
    const HWND bar = GetDlgItem(form, kProgressBarId);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 5; }, 4000));
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 1);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, kCancelButtonId)));
    if (row == kClosedDuringPause) {
      PostMessageA(form, WM_CLOSE, 0, 0);
      ExpectExitCode(0);
      EXPECT_FALSE(FileExists(target + "\\readme.txt")) << "the installation went on after Form1 closed";
      EXPECT_TRUE(TreeOf(tempFolder).empty()) << "left in TEMP";
    } else {
      ASSERT_TRUE(WaitForFinishPage(form));
      EXPECT_TRUE(installer.IsRunning());
      EXPECT_TRUE(FileExists(target + "\\readme.txt"));
    }
    EXPECT_TRUE(unrelated.IsRunning());
    EXPECT_TRUE(row != kEndedDuringWarning || numberTaker.IsRunning()) << "a program not warned about was stopped";
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
  // Ended from the stopped step, not by closing Form1: it removes the downloads too.
  EXPECT_TRUE(TreeOf(tempFolder).empty()) << "left in TEMP";
}

// What the library cannot use is told under the product title, then the install error, and
// the folder page is back with nothing unpacked; a library that cannot be downloaded ends
// the program.
TEST_F(InstallTest, UnusableOrMissingLibraryAndPackageAreTold) {
  const std::string hosts = HarnessArgument("hosts");
  const struct {
    std::string served, bytes, title;  // served instead of the hosts' own file; the package's title
    const char* steering;              // for the hosts, once on the folder page
    std::vector<std::pair<std::string, std::string>> messages;  // the package's path goes before a text from "\r\n"
  } cases[] = {
      {"7-zip32.dll",
       "MZ but no library, long enough to count as a download",
       kTitle,
       "",
       {{kProductTitle, "无法加载【7-zip32.dll】文件\r\n\r\n此为解压支持库文件，请检查自己检查。"},
        {"", kInstallErrorText}}},
      // Its information block is good; what it stands on is not an archive.
      {"188.rar",
       ReadFileBytes(HarnessArgument("not-an-archive")),
       "下载测试",
       "",
       {{kProductTitle, "\r\n\r\n检查文件出错！文件不存在或者不是7ZIP文件。"}, {"", kInstallErrorText}}},
      {"",
       "",
       kTitle,
       "status=404",
       {{kInstallTitle,
         "下载解压支持库文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、\r\n"
         "杀毒软件拦截、不可以上网等\r\n\r\n       　－－－－感谢你使用【岚舟软件】"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.messages.front().second);
    NewRun();  // the same folders, emptied, and the hosts' own files back
    ASSERT_TRUE(c.served.empty() || ServeInstead(hosts + "\\" + c.served, c.bytes));
    const HWND form = StartAtFolderPage(HarnessArgument("installer"), c.title);
    ASSERT_TRUE(form);
    ASSERT_TRUE(Steer(c.steering));
    const std::string target = testFolder + "\\target", package = RunFile("188.7z");
    InstallInto(form, target);
    for (const auto& [title, text] : c.messages)
      ExpectMessage(title, (text.rfind("\r\n", 0) == 0 ? package : "") + text);
    if (*c.steering) {
      ExpectExitCode(0);
      EXPECT_TRUE(TreeOf(tempFolder).empty()) << "left in TEMP";
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
