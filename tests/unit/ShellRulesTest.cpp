#include <gtest/gtest.h>

#include "support/DpiScale.h"
#include "contracts/ProgramIdentity.h"
#include "support/WaitDeadline.h"
#include "forms/CommandRoute.h"

namespace {

TEST(DpiScale, ScalesAndRoundsTiesToEven) {
  const struct {
    int logPixels;
    float length;
    int pixels;
  } cases[] = {
      {96, 450, 450}, {120, 450, 562}, {120, 320, 400}, {120, 293, 366}, {120, 63, 79},
      {120, 24, 30},  {144, 450, 675}, {144, 63, 94},  {120, 451, 564},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundToEven(ScaleLength(DpiFactorFor(c.logPixels), c.length)), c.pixels)
        << c.length << " at " << c.logPixels;
  }
  EXPECT_EQ(RoundToEven(562.5f), 562);
  EXPECT_EQ(RoundToEven(563.5f), 564);
}

TEST(RouteCommand, OnlyClicksOfTheFourButtonsInOrder) {
  const struct {
    uint32_t wParam;
    CommandRoute route;
  } cases[] = {
      {1008, CommandRoute::Next},   {2, CommandRoute::Cancel},       {1007, CommandRoute::Back},
      {1003, CommandRoute::Browse}, {1, CommandRoute::None},         {(6u << 16) | 1008, CommandRoute::None},
      {1005, CommandRoute::None},   {(0x300u << 16) | 1005, CommandRoute::None},
  };
  for (const auto& c : cases) EXPECT_EQ(RouteCommand(c.wParam), c.route) << std::hex << c.wParam;
}

TEST(ProgramIdentity, SplitsModulePathAndFormatsTitle) {
  const struct {
    const char* path;
    const char* folder;
    const char* fileName;
  } cases[] = {
      {"C:\\dir\\installer.exe", "C:\\dir\\", "installer.exe"},
      {"C:installer.exe", "C:", "installer.exe"},
      {"Z:/tmp/x.exe", "Z:/tmp/", "x.exe"},
      {"installer.exe", "", "installer.exe"},
      {"C:\\運.exe", "C:\\", "運.exe"},
  };
  for (const auto& c : cases) {
    const ModulePath split = SplitModulePath(c.path);
    EXPECT_EQ(split.folder, c.folder) << c.path;
    EXPECT_EQ(split.fileName, c.fileName) << c.path;
  }
}

TEST(WaitDeadline, NeverEndsAWaitEarly) {
  EXPECT_EQ(DeadlineAfter(100, 8, 1000), 108);
  EXPECT_EQ(DeadlineAfter(0, 1, 3000), 3);
  EXPECT_EQ(MillisecondsUntil(0, 10000, 1000000), 10u);
  EXPECT_EQ(MillisecondsUntil(0, 10001, 1000000), 11u);
  EXPECT_EQ(MillisecondsUntil(9, 5, 1000), 0u);
}

}  // namespace
