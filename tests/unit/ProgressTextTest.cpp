#include "retrieval/indicator/ProgressText.h"

#include <gtest/gtest.h>

#include "retrieval/http/HttpProgress.h"

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
    const DownloadProgressView view = DownloadProgressFor(c.written, c.total, 0, "188.7z", c.separator);
    EXPECT_EQ(view.label, c.label);
    EXPECT_EQ(view.barPosition, c.bar) << c.label;
  }
}

// The whole road of one report: the worker records the counts and posts the scaled message,
// the UI thread builds the label from the message and the recorded counts.
TEST(ProgressTextTest, BodiesOfTwoGibibytesAndMoreShowTheirRealFigures) {
  constexpr int64_t kThreeGiB = int64_t{3} << 30;
  const struct {
    int64_t written, total;
    const char* label;
    int bar;
  } cases[] = {
      {kThreeGiB / 4, kThreeGiB, "下载【big.7z】中..完成:786432KB(25.00%)/共:3145728KB", 25},
      {kThreeGiB / 2 + kThreeGiB / 200, kThreeGiB, "下载【big.7z】中..完成:1588592KB(50.50%)/共:3145728KB", 50},
      {kThreeGiB, kThreeGiB, "下载【big.7z】中..完成:3145728KB(100.00%)/共:3145728KB", 100},
      // Just over 2 GiB: the written count still fits, the total does not.
      {1024, (int64_t{2} << 30) + 2048, "下载【big.7z】中..完成:1KB(0.00%)/共:2097154KB", 0},
      // Figures stop at 4 TiB rather than spill into each other.
      {int64_t{1} << 40, int64_t{5} << 40, "下载【big.7z】中..完成:1073741824KB(20.00%)/共:4294967295KB", 20},
      // No length announced (total 1) past 4 GiB: the count still shows, scaled into the message.
      {int64_t{5} << 30, 1, "下载【big.7z】中..完成:5242880KB(0.00%)/共:0KB", 0},
      // A smaller body after a large one shows its own figures again.
      {1263616, 2766848, "下载【big.7z】中..完成:1234KB(45.67%)/共:2702KB", 46},
  };
  for (const auto& c : cases) {
    RecordExactProgress(c.written, c.total);
    const ProgressMessageParams params = ToProgressMessageParams(c.written, c.total);
    const DownloadProgressView view =
        DownloadProgressFor(params.bytesWritten, params.totalBytes, ExactProgressKiB.load(), "big.7z", '.');
    EXPECT_EQ(view.label, c.label);
    EXPECT_EQ(view.barPosition, c.bar) << c.label;
  }
}

}  // namespace
