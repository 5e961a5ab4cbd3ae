#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "retrieval/handlers/LoadFolders.h"
#include "retrieval/handlers/PackageInfoStep.h"

namespace {

constexpr const char* kTitle = "岚舟阅读器";

// Records what the step asks for, in order, as short words.
struct FakeStepHost : PackageStepHost {
  bool fetchWorks, stopped;
  const char* title;  // the block's, or none for no block at all
  bool retry;
  std::deque<bool> verdicts;  // one per signature check, in order; none left: it holds
  std::vector<std::string> calls;

  FakeStepHost(bool f, bool s, const char* t, bool r, std::deque<bool> v = {})
      : fetchWorks(f), stopped(s), title(t), retry(r), verdicts(std::move(v)) {}
  bool SignatureHolds(const std::string& path) override {
    calls.push_back("check " + path);
    const bool holds = verdicts.empty() || verdicts.front();
    if (!verdicts.empty()) verdicts.pop_front();
    return holds;
  }
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
    return calls.push_back("ask " + text.substr(0, text.find('\r')) + " " + text.substr(reason, text.find('\r', reason) - reason)), retry;
  }
  void DeleteFile(const std::string& path) override { calls.push_back("delete " + path); }
  void StorePackage(const PackageInfo& info) override { calls.push_back("store " + info.PackageTitle); }
  void ShowWelcomePage() override { calls.push_back("welcome"); }
  void PostStartMessage() override { calls.push_back("post"); }
  void EndProgram() override { calls.push_back("end"); }
};

TEST(PackageInfoStepTest, CallsFollowTheStateOfThePackage) {
  const std::string path = "C:\\T\\188.7z";
  const std::string fetch = "fetch 188.7z 下载安装包文件", read = "read " + path;
  const std::string check = "check " + path, notPublishers = "ask " + path + " 此文件不是岚舟软件发布的安装包！！！ ";
  const std::string fileError = "ask " + path + " 文件错误！！！ ";
  const struct {
    const char* name;
    const char* runFolder;
    bool fetchWorks, stopped;
    const char* title;  // nullptr: no block
    bool retry;
    std::vector<std::string> calls;
    std::deque<bool> verdicts;
  } cases[] = {
      {"downloaded", "C:\\T\\", true, false, kTitle, false, {fetch, check, "welcome", read, "store 岚舟阅读器", "welcome"}},
      {"no folder of its own: as a failed download", "", true, false, kTitle, false, {"failed", "end"}},
      {"downloaded but not the publisher's, Retry: deleted and fetched again", "C:\\T\\", true, false, kTitle, true,
       {fetch, check, notPublishers, "delete " + path, "post"}, {false}},
      {"downloaded but not the publisher's, Cancel: deleted, program ends", "C:\\T\\", true, false, kTitle, false,
       {fetch, check, notPublishers, "delete " + path, "end"}, {false}},
      {"download failed", "C:\\T\\", false, false, kTitle, false, {fetch, "failed", "delete " + path, "end"}},
      {"download stopped: nothing shown", "C:\\T\\", false, true, kTitle, false, {fetch, "end"}},
      {"no block, Retry: deleted and asked again", "C:\\T\\", true, false, nullptr, true,
       {fetch, check, "welcome", read, fileError, "delete " + path, "post"}},
      {"no block, Cancel: deleted, program ends", "C:\\T\\", true, false, nullptr, false,
       {fetch, check, "welcome", read, fileError, "delete " + path, "end"}},
      // Like no block: nothing of it is kept.
      {"a title that leads out of the folder", "C:\\T\\", true, false, "..\\..\\Windows", false,
       {fetch, check, "welcome", read, fileError, "delete " + path, "end"}},
  };
  for (const auto& c : cases) {
    FakeStepHost host(c.fetchWorks, c.stopped, c.title, c.retry, c.verdicts);
    RunPackageInfoStep(host, c.runFolder, "188.7z");
    EXPECT_EQ(host.calls, c.calls) << c.name;
  }
}

TEST(SettleFolders, PrefersDriveDAndEndsBothWithBackslash) {
  testfiles::FakeFolders withD({"D:"});
  const auto onD = SettleFolders("C:\\Temp", "C:\\Program Files", withD);
  EXPECT_EQ(onD.tempFolder, "C:\\Temp\\");
  EXPECT_EQ(onD.installFolder, "D:\\岚舟软件\\");

  testfiles::FakeFolders withoutD({"C:"});
  const auto offD = SettleFolders("", "C:\\Program Files\\", withoutD);
  EXPECT_EQ(offD.tempFolder, "\\");
  EXPECT_EQ(offD.installFolder, "C:\\Program Files\\");
}

}  // namespace
