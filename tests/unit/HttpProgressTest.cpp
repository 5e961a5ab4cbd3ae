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
