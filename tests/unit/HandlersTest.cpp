#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "retrieval/handlers/LoadFolders.h"
#include "retrieval/handlers/PackageInfoStep.h"

namespace {

// Records what the step asks for, in order, as short words.
struct FakeStepHost : PackageStepHost {
  bool fetchWorks, stopped, holds, retry;
  const char* title;  // the block's, or none for no block at all
  std::vector<std::string> calls;

  FakeStepHost(bool f, bool s, bool h, bool r, const char* t)
      : fetchWorks(f), stopped(s), holds(h), retry(r), title(t) {}
  bool SignatureHolds(const std::string& path) override { return calls.push_back("check " + path), holds; }
  bool Fetch(const std::string& name, const std::string& display) override {
    return calls.push_back("fetch " + name + " " + display), fetchWorks;
  }
  bool StopConfirmed() override { return stopped; }
  std::optional<PackageInfo> ReadInfo(const std::string& folder, const std::string& name) override {
    calls.push_back("read " + folder + name);
    if (!title) return std::nullopt;
    return PackageInfo{.PackageTitle = title, .ProgramFile = "Reader.exe", .PackagePath = folder + name};
  }
  void ShowDownloadFailed() override { calls.push_back("failed"); }
  bool AskRetryFileError(const std::string& text) override {
    // The path, then the reason on its own line.
    const std::size_t reason = text.find("\r\n\r\n") + 4;
    const std::string path = text.substr(0, text.find('\r'));
    return calls.push_back("ask " + path + " " + text.substr(reason, text.find('\r', reason) - reason)), retry;
  }
  void DeleteFile(const std::string& path) override { calls.push_back("delete " + path); }
  void StorePackage(const PackageInfo& info) override { calls.push_back("store " + info.PackageTitle); }
  void ShowWelcomePage() override { calls.push_back("welcome"); }
  void PostStartMessage() override { calls.push_back("post"); }
  void EndProgram() override { calls.push_back("end"); }
};

TEST(PackageInfoStepTest, CallsFollowTheStateOfThePackage) {
  const std::string path = "C:\\T\\188.7z";
  // The calls a row expects, a letter each.
  const std::map<char, std::string> named = {{'f', "fetch 188.7z 下载安装包文件"},
                                             {'c', "check " + path},
                                             {'w', "welcome"},
                                             {'r', "read " + path},
                                             {'s', "store 岚舟阅读器"},
                                             {'n', "ask " + path + " 此文件不是岚舟软件发布的安装包！！！ "},
                                             {'e', "ask " + path + " 文件错误！！！ "},
                                             {'d', "delete " + path},
                                             {'l', "failed"},
                                             {'p', "post"},
                                             {'x', "end"}};
  const struct {
    const char* name;
    bool ownFolder, fetchWorks, stopped, holds, retry;
    const char* title;  // nullptr: no block
    std::string calls;
  } cases[] = {
      {"downloaded", true, true, false, true, false, "岚舟阅读器", "fcwrsw"},
      {"no folder of its own: as a failed download", false, true, false, true, false, "T", "lx"},
      {"not the publisher's, Retry: deleted and fetched again", true, true, false, false, true, "T", "fcndp"},
      {"not the publisher's, Cancel: deleted, program ends", true, true, false, false, false, "T", "fcndx"},
      {"download failed", true, false, false, true, false, "T", "fldx"},
      {"download stopped: nothing shown", true, false, true, true, false, "T", "fx"},
      {"no block, Retry: deleted and asked again", true, true, false, true, true, nullptr, "fcwredp"},
      {"no block, Cancel: deleted, program ends", true, true, false, true, false, nullptr, "fcwredx"},
      // Like no block: nothing of it is kept.
      {"a title that leads out of the folder", true, true, false, true, false, "..\\..\\Windows", "fcwredx"},
  };
  for (const auto& c : cases) {
    FakeStepHost host(c.fetchWorks, c.stopped, c.holds, c.retry, c.title);
    RunPackageInfoStep(host, c.ownFolder ? "C:\\T\\" : "", "188.7z");
    std::vector<std::string> expected;
    for (char letter : c.calls) expected.push_back(named.at(letter));
    EXPECT_EQ(host.calls, expected) << c.name;
  }
}

TEST(SettleFolders, PrefersDriveDAndEndsBothWithBackslash) {
  testfiles::FakeFolders withD({"D:"}), withoutD({"C:"});
  const auto onD = SettleFolders("C:\\Temp", "C:\\Program Files", withD);
  const auto offD = SettleFolders("", "C:\\Program Files\\", withoutD);
  EXPECT_EQ(onD.tempFolder + " " + onD.installFolder, "C:\\Temp\\ D:\\岚舟软件\\");
  EXPECT_EQ(offD.tempFolder + " " + offD.installFolder, "\\ C:\\Program Files\\");
}

}  // namespace
