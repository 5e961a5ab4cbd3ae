#include <gtest/gtest.h>

#include <tuple>

#include "retrieval/http/HttpProgress.h"
#include "retrieval/indicator/IndicatorFrames.h"
#include "retrieval/indicator/ProgressText.h"
#include "retrieval/indicator/TextLayer.h"

namespace {

// The whole road of one report: the worker records the counts and posts the message, scaled
// when they do not fit it; the UI thread builds the label from the message and the recorded counts.
TEST(ProgressTextTest, LabelAndBarOfEachReport) {
  constexpr int64_t kThreeGiB = int64_t{3} << 30;
  const struct {
    int64_t written, total;
    char separator;
    const char* figures;  // the label after "下载【188.7z】中..完成:"
    int bar;
  } cases[] = {
      {1263616, 2766848, '.', "1234KB(45.67%)/共:2702KB", 46},
      {1263616, 2766848, ',', "1234KB(45,67%)/共:2702KB", 46},
      {1023, 2048, '.', "0KB(49.95%)/共:2KB", 50},
      {2048, 2048, '.', "2KB(100.00%)/共:2KB", 100},
      // No length announced (total 1): the bar stays full rather than overflow.
      {5000000, 1, '.', "4882KB(500000000.00%)/共:0KB", 100},
      // Never sent by the client; no division by zero.
      {10, 0, '.', "0KB(0.00%)/共:0KB", 0},
      // Bytes written uses all 32 bits of the message.
      {0xFFFFFFFFu, 0x7FFFFFFF, '.', "4194303KB(200.00%)/共:2097151KB", 100},
      {kThreeGiB / 2 + kThreeGiB / 200, kThreeGiB, '.', "1588592KB(50.50%)/共:3145728KB", 50},
      {kThreeGiB, kThreeGiB, '.', "3145728KB(100.00%)/共:3145728KB", 100},
      // Just over 2 GiB: the written count still fits, the total does not.
      {1024, (int64_t{2} << 30) + 2048, '.', "1KB(0.00%)/共:2097154KB", 0},
      // Figures stop at 4 TiB rather than spill into each other.
      {int64_t{1} << 40, int64_t{5} << 40, '.', "1073741824KB(20.00%)/共:4294967295KB", 20},
      // No length announced (total 1) past 4 GiB: the count still shows, scaled into the message.
      {int64_t{5} << 30, 1, '.', "5242880KB(0.00%)/共:0KB", 0},
      // A smaller body after a large one shows its own figures again.
      {1263616, 2766848, '.', "1234KB(45.67%)/共:2702KB", 46},
  };
  for (const auto& c : cases) {
    RecordExactProgress(c.written, c.total);
    const ProgressMessageParams params = ToProgressMessageParams(c.written, c.total);
    const DownloadProgressView view =
        DownloadProgressFor(params.bytesWritten, params.totalBytes, ExactProgressKiB.load(), "188.7z", c.separator);
    EXPECT_EQ(view.label, std::string("下载【188.7z】中..完成:") + c.figures);
    EXPECT_EQ(view.barPosition, c.bar) << c.figures;
  }
}

TEST(IndicatorFramesTest, DotsRunFastSlowCrawlAndRush) {
  const struct {
    int32_t from, to;
  } cases[] = {{109, 112}, {110, 112}, {199, 201}, {200, 201}, {289, 290}, {290, 294}, {356, 360}, {357, 1}};
  // 356 and 357 pin the turn's end; with steps of at most 4, no angle leaves 1 to 360.
  for (const auto& c : cases) EXPECT_EQ(AdvanceDotAngle(c.from), c.to) << c.from;
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
    EXPECT_EQ(std::make_tuple(box.x, box.y, box.width, box.height), std::make_tuple(c.box.x, c.box.y, c.box.width, c.box.height))
        << c.scale;
  }
  EXPECT_EQ(ScaleCoordinate(110, 1.25f), 138);  // 137.5: halves go to the even neighbour
}

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

std::string Describe(const PixelRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST(TextLayerTest, InkBoundsHoldEveryPixelTheTextsTouched) {
  // A 4 x 3 box; each case marks pixels (index, value) on the black and on the white drawing.
  const struct {
    const char* name;
    std::vector<std::pair<int, uint32_t>> onBlack, onWhite;
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
    for (const auto& [at, value] : c.onBlack) onBlack[at] = value;
    for (const auto& [at, value] : c.onWhite) onWhite[at] = value;
    EXPECT_EQ(Describe(InkBounds(onBlack, onWhite, 4, 3)), c.bounds) << c.name;
  }
  // Pixels that could not be read give no bounds rather than reading past them.
  EXPECT_EQ(Describe(InkBounds({}, std::vector<uint32_t>(12, 0x808080), 4, 3)), "0,0-0,0");
}

// The dots go clockwise round the box's centre (60, 60), 55 units out.
TEST(TextLayerTest, DotPixelsAreTheScaledBoxWidenedByThePen) {
  const struct {
    int32_t angle;
    float scale;
    int pen;
    const char* pixels;
  } cases[] = {
      {0, 1.0f, 1, "109,54-121,66"},     // centre (115, 60)
      {90, 1.0f, 1, "54,109-66,121"},    // centre (60, 115)
      {45, 1.0f, 1, "93,93-105,105"},    // centre (99, 99)
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
