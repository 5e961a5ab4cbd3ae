#include <gtest/gtest.h>

#include "support/FontSpec.h"

namespace {

int PointsAt96(int pixels) { return PixelsToPointsAt(pixels, 96); }

TEST(ParseFontSpec, ReadsShortAndLongShapes) {
  const struct {
    const char* spec;
    const char* face;
    int points, weight, italic, underline, strikeOut, style;
  } cases[] = {
      {"微软雅黑,9,0", "微软雅黑", 9, 400, 0, 0, 0, 0},
      {"宋体,12,3", "宋体", 12, 700, 255, 0, 0, 3},
      {"宋体,99999999999,8", "宋体", 2147483647, 400, 0, 0, 255, 8},  // clamped to 32 bits
      {"Arial,10.6,4,ignored", "Arial", 11, 400, 0, 255, 0, 4},
      {"黑体", "黑体", 0, 400, 0, 0, 0, 0},
      {"12", "12", 12, 400, 0, 255, 255, 12},  // missing fields read the whole spec
      {"a,1,0,,,,,,,,", "a", 1, 400, 0, 0, 0, 0},  // ten commas: still the short shape
      {"Tahoma,-16,0,0,0,700,1,0,0,0,0,0,0,0", "Tahoma", 12, 700, 1, 0, 0, 3},
      {"Tahoma,-13,0,0,0,400,0,1,1,0,0,0,0,0", "Tahoma", 10, 400, 0, 1, 1, 12},
  };
  for (const auto& c : cases) {
    const FontSpec font = ParseFontSpec(c.spec, PointsAt96);
    EXPECT_EQ(font.faceName, c.face) << c.spec;
    EXPECT_EQ(font.pointSize, c.points) << c.spec;
    EXPECT_EQ(font.weight, c.weight) << c.spec;
    EXPECT_EQ(font.italic, c.italic) << c.spec;
    EXPECT_EQ(font.underline, c.underline) << c.spec;
    EXPECT_EQ(font.strikeOut, c.strikeOut) << c.spec;
    EXPECT_EQ(font.style, c.style) << c.spec;
  }
}

TEST(PointFontHeight, FollowsScreenDpi) {
  const struct {
    int points, dpiArgument, logPixelsX, logPixelsY, height;
  } cases[] = {
      {9, -1, 96, 96, -12}, {14, -1, 96, 96, -19}, {16, -1, 96, 96, -21}, {9, -1, 120, 120, -15},
      {9, 0, 96, 96, -12},  {10, 144, 96, 96, -20}, {9, -1, 96, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PointFontHeight(c.points, c.dpiArgument, c.logPixelsX, c.logPixelsY), c.height)
        << c.points << "pt at " << c.dpiArgument << "/" << c.logPixelsX << "/" << c.logPixelsY;
  }
}

TEST(MulDivRounded, RoundsHalfAwayFromZeroAndRejectsOverflow) {
  EXPECT_EQ(MulDivRounded(-1, 3, 2), -2);
  EXPECT_EQ(MulDivRounded(1, 1, 0), -1);
  EXPECT_EQ(MulDivRounded(0x7FFFFFFF, 4, 1), -1);
  EXPECT_EQ(PixelsToPointsAt(-20, 120), 12);
}

}  // namespace
