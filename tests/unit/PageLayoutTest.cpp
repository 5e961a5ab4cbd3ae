#include "wizard/PageLayout.h"

#include <gtest/gtest.h>


namespace {

TEST(PageLayoutTest, ShapesScaleTiesToEven) {
  const struct {
    float factor;
    int32_t bannerWidth, bannerHeight, topLine, shadowLine, highlightLine;
  } kDpis[] = {{1.25f, 564, 66, 64, 312, 314}, {1.5f, 676, 80, 76, 375, 376}};
  for (const auto& d : kDpis) {
    const auto band = HeaderBand(d.factor, d.factor);
    EXPECT_EQ(band[1].x2, d.bannerWidth) << d.factor;
    EXPECT_EQ(band[1].y2, d.bannerHeight) << d.factor;
    EXPECT_EQ(band[2].y1, d.topLine) << d.factor;
    EXPECT_EQ(band[3].y1, d.shadowLine) << d.factor;
    EXPECT_EQ(band[4].y2, d.highlightLine) << d.factor;
    EXPECT_EQ(WelcomeBackground(d.factor, d.factor)[3].y1, d.shadowLine) << d.factor;
  }
}

TEST(PageLayoutTest, PaintTextPlacement) {
  const struct {
    int32_t alignWidth, width, left;
  } kCases[] = {
      {0, 80, 120},      {-5, 80, 120},     // left-aligned
      {325, 80, 242},    {325, 81, 242},    // centred; 242.5 rounds to even
      {325, 400, 82},                       // wider than the width: starts left of the anchor
      {10000, 80, 5080}, {10300, 80, 340},  // right edge at 120 + 300 above 10000
  };
  for (const auto& c : kCases) {
    const TextPlacement p = PlaceText(120, 64, c.alignWidth, c.width, 20);
    EXPECT_EQ(p.left, c.left) << c.alignWidth << " " << c.width;
    EXPECT_EQ(p.right - p.left, c.width);
  }
}

}  // namespace
