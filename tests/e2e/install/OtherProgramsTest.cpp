// The installer among other programs: a second start of the same installer, an installer of
// another package at the same time, and a program that holds the fresh package for a while,
// as virus scanners do with every file just written.
#include "InstallerTest.h"

#include <atomic>
#include <thread>

namespace {

std::string Data(const std::string& relative) { return HarnessArgument("data") + "\\" + relative; }

class OtherProgramsTest : public InstallerTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Steer("")) << "the test host does not answer on 127.0.0.2:80"; }
};

// Started again a second into a slow download: the second run ends at once with exit code 0
// and no message, and the first, brought to the front, goes on to its welcome page.
TEST_F(OtherProgramsTest, SecondStartOfThePackageLeavesItToTheFirst) {
  ASSERT_TRUE(Steer("slow=200&piece=8192"));  // some 8 s for the package
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form);
  Sleep(1000);
  InstallerProcess second;
  EXPECT_FALSE(StartInstaller(second, HarnessArgument("installer"), false)) << "the second start showed its window";
  EXPECT_EQ(second.WaitForExit(10000), std::optional<DWORD>(0));
  EXPECT_EQ(GetForegroundWindow(), form);
  EXPECT_TRUE(WaitForWelcomePage(form, ReadFileBytes(Data("hosts\\188.rar"))));
}

// Two packages at once in one TEMP: each run keeps its downloads in a folder of its own, and
// both install; neither removes what the other uses.
TEST_F(OtherProgramsTest, InstallersOfTwoPackagesTogetherBothInstall) {
  PrepareTestFolders();
  InstallerProcess big;
  const HWND bigForm = StartInstaller(big, HarnessArgument("big-installer"), true);
  const HWND form = StartInstaller(HarnessArgument("installer"));
  ASSERT_TRUE(form && bigForm);
  // Form1 starts on the welcome page: the packages, each in its run's folder, tell that the
  // downloads are over.
  const auto downloaded = [&](const std::string& package) {
    for (const auto& [name, bytes] : TreeOf(tempFolder)) {
      if (name.size() > package.size() && name.compare(name.size() - package.size(), package.size(), package) == 0 &&
          name[name.size() - package.size() - 1] == '\\')
        return true;
    }
    return false;
  };
  for (const auto& [f, package] : {std::pair{form, "188.7z"}, std::pair{bigForm, "big.7z"}}) {
    ASSERT_TRUE(WaitUntil(
        [&] {
          return downloaded(package) && IsWindowVisible(GetDlgItem(f, kNextButtonId)) &&
                 !IsWindowVisible(GetDlgItem(f, kProgressBarId));
        },
        kStepTimeout))
        << package;
  }
  Click(GetDlgItem(form, kNextButtonId));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(form, kFolderEditId)); }, 10000));
  TypeText(GetDlgItem(form, kFolderEditId), testFolder + "\\target");
  Click(GetDlgItem(bigForm, kNextButtonId));  // extract-only: it unpacks at once
  Click(GetDlgItem(form, kNextButtonId));
  ASSERT_TRUE(WaitForFinishPage(form));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(bigForm, kNextButtonId)) == "完成"; }, kStepTimeout));
  ExpectSameTree(Data("tree-188"), testFolder + "\\target");
  ExpectSameTree(Data("tree-big"), programFilesFolder + "\\大安装包");
}

// Held for three seconds as soon as the download lets go of it, the package is waited for:
// the welcome page comes with no message. Held past the bound of about ten seconds, it gets
// the message a failed download gets (under its download name, it cannot take its own) or a
// damaged one (under its own, its information cannot be read).
TEST_F(OtherProgramsTest, PackageHeldByAnotherProgramIsWaitedForWithinTheBound) {
  for (const int holdMs : {3000, 14000}) {
    SCOPED_TRACE(holdMs);
    NewRun();
    std::atomic<HANDLE> held = INVALID_HANDLE_VALUE;
    std::thread holder([&] {
      const ULONGLONG deadline = GetTickCount64() + kStepTimeout;
      while (held == INVALID_HANDLE_VALUE && GetTickCount64() < deadline) {
        for (const char* name : {"188.7z.tmp", "188.7z"}) {
          const std::string path = RunFile(name);
          if (held == INVALID_HANDLE_VALUE && !path.empty()) {
            held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
          }
        }
      }
      Sleep(holdMs);
      CloseHandle(held);
    });
    const struct Joined {
      std::thread& thread;
      ~Joined() { thread.join(); }
    } joined{holder};
    const HWND form = StartInstaller(HarnessArgument("installer"));
    ASSERT_TRUE(form);
    if (holdMs < 10000) {
      EXPECT_TRUE(WaitForWelcomePage(form, ReadFileBytes(Data("hosts\\188.rar"))));
      EXPECT_FALSE(WaitForMessageBox(installer.Id(), 500).has_value());
      EXPECT_NE(held, INVALID_HANDLE_VALUE) << "the package was never held";
    } else {
      const auto box = WaitForMessageBox(installer.Id(), kStepTimeout);
      ASSERT_TRUE(box.has_value()) << "no message after the bound";
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(form, kNextButtonId))) << "the welcome page came";
      EXPECT_TRUE(box->text.rfind("下载安装包文件失败！！！", 0) == 0 ||
                  box->text.find("文件错误！！！") != std::string::npos)
          << box->text;
      Answer(*box, box->buttons.back());  // OK, or Cancel
      ExpectExitCode(0, kStepTimeout);
    }
  }
}

}  // namespace
