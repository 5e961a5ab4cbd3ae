#include "retrieval/indicator/IndicatorFrames.h"

#include <gtest/gtest.h>

namespace {

TEST(IndicatorFramesTest, DotsRunFastSlowCrawlAndRush) {
  const struct {
    int32_t from, to;
  } cases[] = {{109, 112}, {110, 112}, {199, 201}, {200, 201}, {289, 290}, {290, 294}, {356, 360}, {357, 1}};
  for (const auto& c : cases) EXPECT_EQ(AdvanceDotAngle(c.from), c.to) << c.from;

  // However long the download, every angle stays within one turn.
  for (int32_t start : kDotStartAngles) {
    int32_t angle = start;
    for (int frame = 0; frame < 5000; ++frame) {
      angle = AdvanceDotAngle(angle);
      ASSERT_GE(angle, 1) << start;
      ASSERT_LE(angle, 360) << start;
    }
  }
}

TEST(IndicatorFramesTest, DotCentresLieOnTheCircleClockwise) {
  const struct {
    int32_t angle;
    int x, y;
  } cases[] = {{0, 115, 60}, {90, 60, 115}, {45, 99, 99}};
  for (const auto& c : cases) {
    const UnitPoint p = DotCentre(c.angle);
    EXPECT_EQ(p.x, c.x) << c.angle;
    EXPECT_EQ(p.y, c.y) << c.angle;
  }
}

TEST(IndicatorFramesTest, ElapsedTimeInTenthsAndMinutes) {
  const struct {
    uint32_t start, now;
    char separator;
    const char* text;
  } cases[] = {
      {1000, 60940, '.', "59.9s"}, {0, 60000, '.', "1n0.0s"}, {0, 725430, '.', "12n5.4s"}, {0, 65300, ',', "1n5,3s"},
      // The tick counter wraps between the start and now.
      {0xFFFFFF00u, 0x00000F00u, '.', "4.1s"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ElapsedText(ElapsedTenths(c.start, c.now), c.separator), c.text) << c.now;
  }
}

TEST(IndicatorFramesTest, BoxAndCoordinatesGrowWithTheScreen) {
  const struct {
    int clientWidth, clientHeight;
    float scale;
    PixelBox box;
  } cases[] = {
      {500, 360, 1.0f, {190, 100, 120, 120}},
      {625, 450, 1.25f, {237, 125, 150, 150}},  // 312 - 60 * 1.25, 225 - 80 * 1.25
      {501, 361, 1.0f, {190, 100, 120, 120}},   // half the client size rounds down first
  };
  for (const auto& c : cases) {
    const PixelBox box = IndicatorBox(c.clientWidth, c.clientHeight, c.scale, c.scale);
    EXPECT_EQ(box.x, c.box.x) << c.scale;
    EXPECT_EQ(box.y, c.box.y) << c.scale;
    EXPECT_EQ(box.width, c.box.width) << c.scale;
    EXPECT_EQ(box.height, c.box.height) << c.scale;
  }
  EXPECT_EQ(ScaleCoordinate(110, 1.25f), 138);  // 137.5: halves go to the even neighbour
}

}  // namespace
