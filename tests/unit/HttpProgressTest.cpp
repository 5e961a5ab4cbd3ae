#include "retrieval/http/HttpProgress.h"

#include <gtest/gtest.h>

TEST(HttpProgress, NoticesAreMoreThan300MillisecondsApart) {
  struct Case {
    uint32_t now;
    bool due;
  } steps[] = {
      {5, true},  // the first one always, whatever the clock says
      {305, false},
      {306, true},
      {606, false},
      {0xFFFFFFF0u, true},
      {0x00000010u, false},  // 32 ms later across the wrap
      {0x0000011Du, true},   // 301 ms after 0xFFFFFFF0
  };
  ProgressPacer pacer;
  for (const Case& step : steps) EXPECT_EQ(pacer.Due(step.now), step.due) << step.now;
}

TEST(HttpProgress, MessageParametersKeepTheRatioOfLargeCounts) {
  struct Case {
    int64_t written, total;
    uint32_t wParam;
    int32_t lParam;
  } cases[] = {
      {1263616, 2766848, 1263616, 2766848},
      {0, 1, 0, 1},
      {2147483647, 2147483647, 2147483647u, 2147483647},
      // 1.5 GiB of 3 GiB: halved once, still 50 %.
      {1610612736, 3221225472LL, 805306368u, 1610612736},
      // Without an announced length the total is 1 and the count alone decides.
      {5368709120LL, 1, 2684354560u, 0},
  };
  for (const Case& c : cases) {
    const ProgressMessageParams params = ToProgressMessageParams(c.written, c.total);
    EXPECT_EQ(params.bytesWritten, c.wParam) << c.written << "/" << c.total;
    EXPECT_EQ(params.totalBytes, c.lParam) << c.written << "/" << c.total;
  }
}
