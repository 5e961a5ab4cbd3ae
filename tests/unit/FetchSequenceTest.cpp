#include "retrieval/download/FetchSequence.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

namespace {

// Answers each URL with a scripted result; an answer of kStop stands for a transfer during
// which the user confirmed stopping, kRefused for a host that refused the connection,
// kUnresolved for one whose name did not resolve, kUntrusted for one whose secure connection
// was refused.
constexpr int64_t kStop = -100, kRefused = -101, kUnresolved = -102, kUntrusted = -103;

struct FakeFetchHost : FetchHost {
  std::map<std::string, int64_t> results;
  bool renameWorks = true;
  bool stopped = false;
  std::vector<std::string> labels, urls, outputs, renames, failures;
  std::string header, item;

  void ShowDownloadPage(const std::string& h, const std::string& i, const std::string& label) override {
    header = h;
    item = i;
    labels.push_back(label);
  }
  void SetProgressLabel(const std::string& text) override { labels.push_back(text); }
  void ClearStopRequest() override { stopped = false; }
  bool StopConfirmed() override { return stopped; }
  TransferOutcome RunTransfer(const std::string& url, const std::string& output) override {
    urls.push_back(url);
    outputs.push_back(output);
    const auto found = results.find(url);
    const int64_t result = found == results.end() ? 0 : found->second;
    if (result == kRefused) return {0, false, "refused by " + url, ""};
    if (result == kUnresolved) return {0, false, "", ""};
    if (result == kUntrusted) return {0, true, "", "untrusted " + url};
    stopped = stopped || result == kStop;
    return {std::max<int64_t>(result, 0), true, "", ""};
  }
  void ShowFailure(const std::string& text) override { failures.push_back(text); }
  bool RenameFile(const std::string& from, const std::string& to) override {
    renames.push_back(from + ">" + to);
    return renameWorks;
  }
};

constexpr std::array<std::string_view, 2> kHosts = {"one.test", "two.test"};
const std::string kUrl1 = "http://one.test/dowfile/188.rar", kUrl2 = "http://two.test/dowfile/188.rar";
const std::string kUrls[] = {kUrl1, kUrl2};

TEST(FetchSequenceTest, HostsAreTriedByTheRule) {
  const struct {
    const char* name;
    int64_t first, second;
    bool renameWorks, fetched;
    size_t hostsAsked;
    std::string failure = "";  // shown by the sequence itself
  } cases[] = {
      {"host 1 serves", 2766848, 0, true, true, 1},
      {"both got nowhere", 0, 0, true, false, 2},
      {"a shown failure ends the search", kTransferFailureShown, 5000, true, false, 1},
      {"20 bytes or a step code are too few", 20, 5000, true, false, 1},
      {"host 1 got nowhere, host 2 serves 21 bytes: enough", 0, 21, true, true, 2},
      {"3 GiB compare in 64 bits", int64_t{3} << 30, 0, true, true, 1},
      {"a stop ends the search", kStop, 5000, true, false, 1},
      {"a failed rename is a failure", 5000, 0, false, false, 1},
      // A host that cannot be reached gives way to the next; why is told only when none could be.
      {"host 1 refuses, host 2 serves", kRefused, 5000, true, true, 2},
      {"both refuse", kRefused, kRefused, true, false, 2, "refused by " + kUrl2},
      {"host 1 refuses, host 2 unresolved", kRefused, kUnresolved, true, false, 2, "refused by " + kUrl1},
      {"host 1 refuses, host 2 answers 404", kRefused, 0, true, false, 2},
      {"host 1 untrusted, host 2 serves", kUntrusted, 5000, true, true, 2},
      {"host 1 untrusted, host 2 refuses", kUntrusted, kRefused, true, false, 2, "untrusted " + kUrl1},
  };
  for (const auto& c : cases) {
    FakeFetchHost host;
    host.results = {{kUrl1, c.first}, {kUrl2, c.second}};
    host.renameWorks = c.renameWorks;
    EXPECT_EQ(FetchFromHosts(host, "C:\\T\\", "188.7z", "下载安装包文件", kHosts), c.fetched) << c.name;
    EXPECT_EQ(host.urls, std::vector<std::string>(std::begin(kUrls), std::begin(kUrls) + c.hostsAsked)) << c.name;
    EXPECT_EQ(host.failures, std::vector<std::string>(!c.failure.empty(), c.failure)) << c.name;
    // Only a complete transfer is renamed.
    EXPECT_EQ(host.renames.size(), c.fetched || !c.renameWorks ? 1u : 0u) << c.name;
  }
}

TEST(FetchSequenceTest, ShowsTheDownloadPageAndEachAttempt) {
  FakeFetchHost host;
  host.stopped = true;  // left over from an earlier transfer: cleared before the first one
  // The remote name is lower case; the local one stays as given.
  host.results = {{"http://two.test/dowfile/setup.rar", 5000}};
  ASSERT_TRUE(FetchFromHosts(host, "C:\\T\\", "Setup.7Z", "下载安装包文件", kHosts));
  EXPECT_EQ(host.header, "下载安装包文件");
  EXPECT_EQ(host.item, "Setup.7Z");
  EXPECT_EQ(host.labels, (std::vector<std::string>{"准备【下载安装包文件】中..... ", "准备【下载安装包文件】中.....1",
                                                   "准备【下载安装包文件】中.....2"}));
  EXPECT_EQ(host.outputs, (std::vector<std::string>{"C:\\T\\Setup.7Z.tmp", "C:\\T\\Setup.7Z.tmp"}));
  EXPECT_EQ(host.renames, std::vector<std::string>{"C:\\T\\Setup.7Z.tmp>C:\\T\\Setup.7Z"});
}

TEST(FetchSequenceTest, TheHostsNameIsLowerCaseWithRarForSevenZ) {
  // 癆 is B0 41: its trail byte is an "A" that must stay upper case.
  const std::pair<const char*, const char*> cases[] = {
      {"7-zip32.dll", "7-zip32.dll"}, {"a.7z.7z", "a.rar.rar"}, {"癆.7Z", "癆.rar"}};
  for (const auto& [local, remote] : cases) EXPECT_EQ(RemoteFileName(local), remote) << local;
  // A host configured with its scheme keeps it.
  EXPECT_EQ(DownloadUrl("https://dl.test", "188.rar"), "https://dl.test/dowfile/188.rar");
}

}  // namespace
