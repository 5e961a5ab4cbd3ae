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
  // The figures are the label after "下载【188.7z】中..完成:".
  const std::tuple<int64_t, int64_t, char, const char*, int> cases[] = {
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
  for (const auto& [written, total, separator, figures, bar] : cases) {
    RecordExactProgress(written, total);
    const ProgressMessageParams params = ToProgressMessageParams(written, total);
    const DownloadProgressView view =
        DownloadProgressFor(params.bytesWritten, params.totalBytes, ExactProgressKiB.load(), "188.7z", separator);
    EXPECT_EQ(view.label, std::string("下载【188.7z】中..完成:") + figures);
    EXPECT_EQ(view.barPosition, bar) << figures;
  }
}

TEST(IndicatorFramesTest, DotsRunFastSlowCrawlAndRush) {
  // 356 and 357 pin the turn's end; with steps of at most 4, no angle leaves 1 to 360.
  const int32_t cases[][2] = {{109, 112}, {110, 112}, {199, 201}, {200, 201},
                              {289, 290}, {290, 294}, {356, 360}, {357, 1}};
  for (const auto& [from, to] : cases) EXPECT_EQ(AdvanceDotAngle(from), to) << from;
  // Clockwise from the right on a radius of 55 around the box's centre; 30 and 240 are exact halves.
  const int32_t centres[][3] = {{360, 115, 60}, {90, 60, 115}, {180, 5, 60}, {270, 60, 5},
                                {45, 99, 99},   {30, 108, 88}, {240, 32, 12}};
  for (const auto& [angle, x, y] : centres) {
    EXPECT_EQ(DotCentre(angle).x, x) << angle;
    EXPECT_EQ(DotCentre(angle).y, y) << angle;
  }
}

TEST(IndicatorFramesTest, ElapsedTimeInTenthsAndMinutes) {
  const std::tuple<uint32_t, uint32_t, char, const char*> cases[] = {
      // The last: the tick counter wraps between the start and now.
      {1000, 60940, '.', "59.9s"},
      {0, 60000, '.', "1n0.0s"},
      {0, 725430, '.', "12n5.4s"},
      {0, 65300, ',', "1n5,3s"},
      {0xFFFFFF00u, 0x00000F00u, '.', "4.1s"},
  };
  for (const auto& [start, now, separator, text] : cases) {
    EXPECT_EQ(ElapsedText(ElapsedTenths(start, now), separator), text) << now;
  }
}

TEST(IndicatorFramesTest, BoxAndCoordinatesGrowWithTheScreen) {
  const std::tuple<int, int, float, PixelBox> cases[] = {
      {500, 360, 1.0f, {190, 100, 120, 120}},
      {625, 450, 1.25f, {237, 125, 150, 150}},  // 312 - 60 * 1.25, 225 - 80 * 1.25
      {501, 361, 1.0f, {190, 100, 120, 120}},   // half the client size rounds down first
  };
  for (const auto& [clientWidth, clientHeight, scale, expected] : cases) {
    const PixelBox box = IndicatorBox(clientWidth, clientHeight, scale, scale);
    EXPECT_EQ(std::make_tuple(box.x, box.y, box.width, box.height),
              std::make_tuple(expected.x, expected.y, expected.width, expected.height))
        << scale;
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
  const std::tuple<const char*, std::vector<std::pair<int, uint32_t>>, std::vector<std::pair<int, uint32_t>>,
                   const char*>
      cases[] = {
          {"nothing drawn", {}, {}, "0,0-0,0"},
          {"black text shows only on white", {}, {{5, kBlack}}, "1,1-2,2"},
          {"white halo shows only on black", {{11, kWhite}}, {}, "3,2-4,3"},
          {"a faint edge", {{0, 0x010000}}, {{0, 0xFEFFFF}}, "0,0-1,1"},
          {"the top byte is not colour", {{6, 0xFF000000}}, {{7, 0x00FFFFFF}}, "0,0-0,0"},
      };
  for (const auto& [name, blackMarks, whiteMarks, bounds] : cases) {
    std::vector<uint32_t> onBlack(12, kBlack), onWhite(12, kWhite);
    for (const auto& [at, value] : blackMarks) onBlack[at] = value;
    for (const auto& [at, value] : whiteMarks) onWhite[at] = value;
    EXPECT_EQ(Describe(InkBounds(onBlack, onWhite, 4, 3)), bounds) << name;
  }
  // Pixels that could not be read give no bounds rather than reading past them.
  EXPECT_EQ(Describe(InkBounds({}, std::vector<uint32_t>(12, 0x808080), 4, 3)), "0,0-0,0");
}

// The dots go clockwise round the box's centre (60, 60), 55 units out.
TEST(TextLayerTest, DotPixelsAreTheScaledBoxWidenedByThePen) {
  const std::tuple<int32_t, float, int, const char*> cases[] = {
      {0, 1.0f, 1, "109,54-121,66"},   // centre (115, 60)
      {90, 1.0f, 1, "54,109-66,121"},  // centre (60, 115)
      {45, 1.0f, 1, "93,93-105,105"},  // centre (99, 99)
      {0, 1.25f, 1, "137,68-151,82"},  // 137.5 and 81.25 rounded, then widened
      {180, 1.5f, 2, "-2,80-17,100"},  // centre (5, 60): 82.5 and 97.5 to even; the box may leave the canvas
  };
  for (const auto& [angle, scale, pen, pixels] : cases)
    EXPECT_EQ(Describe(DotPixels(angle, scale, scale, pen)), pixels) << angle;
}

TEST(TextLayerTest, RectanglesOverlapOnlyByCommonPixels) {
  const PixelRect text{20, 20, 40, 30};
  // Right edges are outside; one corner pixel; empty.
  const std::pair<PixelRect, bool> cases[] = {
      {{40, 20, 50, 30}, false}, {{39, 29, 50, 40}, true}, {{25, 25, 25, 28}, false}};
  for (const auto& [other, overlap] : cases) {
    EXPECT_EQ(Overlap(text, other), overlap) << Describe(other);
    EXPECT_EQ(Overlap(other, text), overlap) << Describe(other);
  }
}

}  // namespace
