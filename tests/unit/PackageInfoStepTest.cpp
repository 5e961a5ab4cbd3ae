#include "retrieval/handlers/PackageInfoStep.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the step asks for, in order, as short words.
struct FakeStepHost : PackageStepHost {
  bool present, fetchWorks, stopped, hasBlock, retry;
  std::vector<std::string> calls;

  FakeStepHost(bool p, bool f, bool s, bool b, bool r) : present(p), fetchWorks(f), stopped(s), hasBlock(b), retry(r) {}
  bool FileExists(const std::string& path) override { return calls.push_back("exists " + path), present; }
  bool Fetch(const std::string& name, const std::string& display) override {
    return calls.push_back("fetch " + name + " " + display), fetchWorks;
  }
  bool StopConfirmed() override { return stopped; }
  std::optional<PackageInfo> ReadInfo(const std::string& folder, const std::string& name) override {
    calls.push_back("read " + folder + name);
    if (!hasBlock) return std::nullopt;
    PackageInfo info;
    info.PackageTitle = "岚舟阅读器";
    info.PackagePath = folder + name;
    return info;
  }
  void ShowDownloadFailed() override { calls.push_back("failed"); }
  bool AskRetryFileError(const std::string& text) override {
    return calls.push_back("ask " + text.substr(0, text.find('\r'))), retry;
  }
  void DeleteFile(const std::string& path) override { calls.push_back("delete " + path); }
  void StorePackage(const PackageInfo& info) override { calls.push_back("store " + info.PackageTitle); }
  void ShowWelcomePage() override { calls.push_back("welcome"); }
  void PostStartMessage() override { calls.push_back("post"); }
  void EndProgram() override { calls.push_back("end"); }
};

TEST(PackageInfoStepTest, CallsFollowTheStateOfThePackage) {
  const std::string path = "C:\\T\\188.7z";
  const std::string exists = "exists " + path, fetch = "fetch 188.7z 下载安装包文件", read = "read " + path;
  const struct {
    const char* name;
    bool present, fetchWorks, stopped, hasBlock, retry;
    std::vector<std::string> calls;
  } cases[] = {
      {"present: no download", true, false, false, true, false,
       {exists, "welcome", read, "store 岚舟阅读器", "welcome"}},
      {"downloaded", false, true, false, true, false,
       {exists, fetch, "welcome", read, "store 岚舟阅读器", "welcome"}},
      {"download failed", false, false, false, true, false, {exists, fetch, "failed", "delete " + path, "end"}},
      {"download stopped: nothing shown", false, false, true, true, false, {exists, fetch, "end"}},
      {"no block, Retry: deleted and asked again", true, false, false, false, true,
       {exists, "welcome", read, "ask " + path, "delete " + path, "post"}},
      {"no block, Cancel: deleted, program ends", true, false, false, false, false,
       {exists, "welcome", read, "ask " + path, "delete " + path, "end"}},
  };
  for (const auto& c : cases) {
    FakeStepHost host(c.present, c.fetchWorks, c.stopped, c.hasBlock, c.retry);
    RunPackageInfoStep(host, "C:\\T\\", "188.7z");
    EXPECT_EQ(host.calls, c.calls) << c.name;
  }
}

TEST(PackageInfoStepTest, PackageNameIsTheMarkerWithoutBlanks) {
  const struct {
    const char* marker;
    const char* name;
  } cases[] = {{"188.7z", "188.7z"}, {"99.7z ", "99.7z"}, {" 9.7z ", "9.7z"}, {"      ", ""}};
  for (const auto& c : cases) EXPECT_EQ(PackageNameFromMarker(c.marker), c.name) << c.marker;
}

}  // namespace
