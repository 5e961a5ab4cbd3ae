#include "retrieval/indicator/TextLayer.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

std::string Describe(const PixelRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST(TextLayerTest, InkBoundsHoldEveryPixelTheTextsTouched) {
  // A 4 x 3 box; each case marks pixels (index, value) on the black and on the white drawing.
  struct Mark {
    int at;
    uint32_t value;
  };
  const struct {
    const char* name;
    std::vector<Mark> onBlack, onWhite;
    const char* bounds;
  } cases[] = {
      {"nothing drawn", {}, {}, "0,0-0,0"},
      {"black text shows only on white", {}, {{5, kBlack}}, "1,1-2,2"},
      {"white halo shows only on black", {{11, kWhite}}, {}, "3,2-4,3"},
      {"a faint edge", {{0, 0x010000}}, {{0, 0xFEFFFF}}, "0,0-1,1"},
      {"the top byte is not colour", {{6, 0xFF000000}}, {{7, 0x00FFFFFF}}, "0,0-0,0"},
  };
  for (const auto& c : cases) {
    std::vector<uint32_t> onBlack(12, kBlack), onWhite(12, kWhite);
    for (const Mark& m : c.onBlack) onBlack[m.at] = m.value;
    for (const Mark& m : c.onWhite) onWhite[m.at] = m.value;
    EXPECT_EQ(Describe(InkBounds(onBlack, onWhite, 4, 3)), c.bounds) << c.name;
  }
  // Pixels that could not be read give no bounds rather than reading past them.
  EXPECT_EQ(Describe(InkBounds({}, std::vector<uint32_t>(12, 0x808080), 4, 3)), "0,0-0,0");
}

TEST(TextLayerTest, DotPixelsAreTheScaledBoxWidenedByThePen) {
  const struct {
    int32_t angle;
    float scale;
    int pen;
    const char* pixels;
  } cases[] = {
      {0, 1.0f, 1, "109,54-121,66"},     // centre (115, 60)
      {0, 1.25f, 1, "137,68-151,82"},    // 137.5 and 81.25 rounded, then widened
      {180, 1.5f, 2, "-2,80-17,100"},    // centre (5, 60): 82.5 and 97.5 to even; the box may leave the canvas
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(DotPixels(c.angle, c.scale, c.scale, c.pen)), c.pixels) << c.angle;
}

TEST(TextLayerTest, RectanglesOverlapOnlyByCommonPixels) {
  const PixelRect text{20, 20, 40, 30};
  const struct {
    PixelRect other;
    bool overlap;
  } cases[] = {
      {{40, 20, 50, 30}, false},  // right edges are outside
      {{39, 29, 50, 40}, true},   // one corner pixel
      {{25, 25, 25, 28}, false},  // empty
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Overlap(text, c.other), c.overlap) << Describe(c.other);
    EXPECT_EQ(Overlap(c.other, text), c.overlap) << Describe(c.other);
  }
}

}  // namespace
