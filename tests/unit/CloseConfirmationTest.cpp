#include "wizard/CloseConfirmation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FakeCloseHost : CloseHost {
  bool downloading, extracting, stopConfirmed, answerYes;
  std::string asked;
  int downloadStops = 0, extractionStops = 0;

  FakeCloseHost(bool d, bool e, bool s, bool yes) : downloading(d), extracting(e), stopConfirmed(s), answerYes(yes) {}
  bool DownloadRunning() override { return downloading; }
  bool ExtractionRunning() override { return extracting; }
  bool StopConfirmed() override { return stopConfirmed; }
  bool AskYesNo(const char* question) override { return asked += question, answerYes; }
  void StopDownload() override { ++downloadStops; }
  void StopExtraction() override { ++extractionStops; }
};

constexpr const char* kDownload = "正在下载文件中，是否要强制停止下载？";
constexpr const char* kExtraction = "正在解压文件中，是否要强制停止解压？";

TEST(CloseConfirmationTest, OutcomesFollowTheRunningWork) {
  const struct {
    bool downloading, extracting, stopConfirmed, answerYes;
    int32_t result;
    const char* asked;
    int downloadStops, extractionStops;
  } kCases[] = {
      {false, false, false, false, 0, "", 0, 0},  // idle: closes without a question
      {true, false, false, true, 0, kDownload, 1, 0},
      {true, false, false, false, 1, kDownload, 0, 0},
      {false, true, false, true, 1, kExtraction, 0, 1},  // an extraction never lets Form1 close
      {false, true, false, false, 1, kExtraction, 0, 0},
      // a confirmed stop is not asked about again and cannot be answered away
      {true, false, true, false, 0, "", 1, 0},
      {false, true, true, false, 1, "", 0, 1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.downloading << c.extracting << c.stopConfirmed << c.answerYes);
    FakeCloseHost host(c.downloading, c.extracting, c.stopConfirmed, c.answerYes);
    EXPECT_EQ(DecideClose(host), c.result);
    EXPECT_EQ(host.asked, c.asked);
    EXPECT_EQ(host.downloadStops, c.downloadStops);
    EXPECT_EQ(host.extractionStops, c.extractionStops);
  }
}

}  // namespace
