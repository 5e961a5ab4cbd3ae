#include "retrieval/ProgressText.h"

#include <gtest/gtest.h>

#include "retrieval/HttpProgress.h"

namespace {

TEST(ProgressTextTest, LabelAndBarFromTheMessage) {
  const struct {
    uint32_t written;
    int32_t total;
    char separator;
    const char* label;
    int bar;
  } cases[] = {
      {1263616, 2766848, '.', "下载【188.7z】中..完成:1234KB(45.67%)/共:2702KB", 46},
      {1023, 2048, '.', "下载【188.7z】中..完成:0KB(49.95%)/共:2KB", 50},
      {2048, 2048, '.', "下载【188.7z】中..完成:2KB(100.00%)/共:2KB", 100},
      {1263616, 2766848, ',', "下载【188.7z】中..完成:1234KB(45,67%)/共:2702KB", 46},
      // No length announced (total 1): the bar stays full rather than overflow.
      {5000000, 1, '.', "下载【188.7z】中..完成:4882KB(500000000.00%)/共:0KB", 100},
      // Never sent by the client; no division by zero.
      {10, 0, '.', "下载【188.7z】中..完成:0KB(0.00%)/共:0KB", 0},
      // Bytes written uses all 32 bits.
      {0xFFFFFFFFu, 0x7FFFFFFF, '.', "下载【188.7z】中..完成:4194303KB(200.00%)/共:2097151KB", 100},
  };
  for (const auto& c : cases) {
    const DownloadProgressView view = DownloadProgressFor(c.written, c.total, "188.7z", c.separator);
    EXPECT_EQ(view.label, c.label);
    EXPECT_EQ(view.barPosition, c.bar) << c.label;
  }
}

TEST(ProgressTextTest, BodiesOfTwoGibibytesAndMoreKeepTheirPercent) {
  constexpr int64_t kThreeGiB = int64_t{3} << 30;
  const struct {
    int64_t written;
    const char* percent;
    int bar;
  } cases[] = {{kThreeGiB / 4, "(25.00%)", 25}, {kThreeGiB / 2 + kThreeGiB / 200, "(50.50%)", 50},
               {kThreeGiB, "(100.00%)", 100}};
  for (const auto& c : cases) {
    const ProgressMessageParams params = ToProgressMessageParams(c.written, kThreeGiB);
    const DownloadProgressView view = DownloadProgressFor(params.bytesWritten, params.totalBytes, "big.7z", '.');
    EXPECT_NE(view.label.find(c.percent), std::string::npos) << view.label;
    EXPECT_EQ(view.barPosition, c.bar) << view.label;
  }
}

}  // namespace
