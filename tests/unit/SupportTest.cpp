#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

#include "TestFiles.h"
#include "support/DpiScale.h"
#include "support/EnsureFolder.h"
#include "support/FontSpec.h"
#include "support/PixelAdjust.h"
#include "support/ResourceName.h"
#include "support/WaitDeadline.h"
#include "support/WideDivision.h"

namespace {

TEST(EnsureFolder, CreatesEachMissingFolderBelowTheRoot) {
  const std::tuple<const char*, std::set<std::string>, bool, std::vector<std::string>> cases[] = {
      {"D:\\岚舟软件\\", {"D:"}, true, {"D:\\岚舟软件"}},
      {"D:\\岚舟软件\\", {}, false, {"D:\\岚舟软件"}},
      {"C:\\a\\\\b\\c\\", {"C:", "C:\\a"}, true, {"C:\\a\\b", "C:\\a\\b\\c"}},
      // 運 is 0xDF 0x5C in GBK: its second byte is no separator.
      {"C:\\運\\", {"C:"}, true, {"C:\\運"}},
      {"\\\\server\\share\\dir", {"\\\\server\\share"}, true, {"\\\\server\\share\\dir"}},
  };
  for (const auto& [path, existing, result, created] : cases) {
    testfiles::FakeFolders folders(existing);
    EXPECT_EQ(EnsureFolder(path, folders), result) << path;
    EXPECT_EQ(folders.created, created) << path;
  }
}

int PointsAt96(int pixels) { return PixelsToPointsAt(pixels, 96); }

TEST(FontDescription, ReadsShortAndLongShapes) {
  const struct {
    const char* text;
    const char* face;
    int points, weight, italic, underline, strikeOut, style;
  } cases[] = {
      {"微软雅黑,9,0", "微软雅黑", 9, 400, 0, 0, 0, 0},
      {"宋体,12,3", "宋体", 12, 700, 255, 0, 0, 3},
      {"宋体,99999999999,8", "宋体", 2147483647, 400, 0, 0, 255, 8},  // clamped to 32 bits
      {"Arial,10.6,4,ignored", "Arial", 11, 400, 0, 255, 0, 4},
      {"黑体", "黑体", 0, 400, 0, 0, 0, 0},
      {"12", "12", 12, 400, 0, 255, 255, 12},      // missing fields read the whole text
      {"a,1,0,,,,,,,,", "a", 1, 400, 0, 0, 0, 0},  // ten commas: still the short shape
      {"Tahoma,-16,0,0,0,700,1,0,0,0,0,0,0,0", "Tahoma", 12, 700, 1, 0, 0, 3},
      {"Tahoma,-13,0,0,0,400,0,1,1,0,0,0,0,0", "Tahoma", 10, 400, 0, 1, 1, 12},
  };
  for (const auto& c : cases) {
    const FontSpec f = ParseFontSpec(c.text, PointsAt96);
    EXPECT_EQ(
        std::make_tuple(f.faceName, f.pointSize, f.weight, int(f.italic), int(f.underline), int(f.strikeOut), f.style),
        std::make_tuple(std::string(c.face), c.points, c.weight, c.italic, c.underline, c.strikeOut, c.style))
        << c.text;
  }
}

TEST(PointFontHeight, FollowsScreenDpiRoundingHalvesAwayFromZero) {
  // Points, the DPI argument, the screen's horizontal and vertical DPI, the height.
  const int cases[][5] = {
      {9, -1, 96, 96, -12}, {14, -1, 96, 96, -19},  {16, -1, 96, 96, -21}, {9, -1, 120, 120, -15},
      {9, 0, 96, 96, -12},  {10, 144, 96, 96, -20}, {9, -1, 96, 0, 0},
  };
  for (const auto& [points, dpi, dpiX, dpiY, height] : cases) {
    EXPECT_EQ(PointFontHeight(points, dpi, dpiX, dpiY), height) << points << " " << dpi << " " << dpiX << " " << dpiY;
  }
  // The division under it: halves away from zero; no divisor or an overflow gives -1.
  EXPECT_EQ(MulDivRounded(-1, 3, 2), -2);
  EXPECT_EQ(MulDivRounded(1, 1, 0), -1);
  EXPECT_EQ(MulDivRounded(0x7FFFFFFF, 4, 1), -1);
}

// 0xAARRGGBB. Lightening by 50: 127.5 rounds to the even 128, 255 stays; 0, 1, 2, 3 gives
// 128.0, 128.5, 129.0 and so 128, 128, 129. The luma of the primaries: 76.245, 149.685,
// 29.07. Lightened first, then grey: (128, 129, 128) has luma 128.587 (grey first: 2, then 128).
TEST(PixelAdjustTest, AdjustsChannelsAndKeepsAlpha) {
  const std::tuple<int, bool, uint32_t, uint32_t> cases[] = {
      {50, false, 0x8000FF00, 0x8080FF80},  {50, false, 0x00010203, 0x00808081}, {0, false, 0x120A141E, 0x120A141E},
      {100, false, 0xFF0A141E, 0xFF0A141E}, {99, false, 0xFF0064FE, 0xFFFCFDFF}, {0, true, 0xFFFF0000, 0xFF4C4C4C},
      {0, true, 0x4000FF00, 0x40969696},    {0, true, 0xFF0000FF, 0xFF1D1D1D},   {0, true, 0xFFFFFFFF, 0xFFFFFFFF},
      {50, true, 0xFF000300, 0xFF818181},
  };
  for (const auto& [lighten, grey, in, out] : cases) {
    EXPECT_EQ(AdjustPixel(in, LightenFactor(lighten), grey), out) << std::hex << in << " " << lighten;
  }
}

// Rounded with ties to even, taken as 16 bits, the leading number only; 10^23 is a multiple
// of 65536.
TEST(ResourceNameTest, HashNamesAreSixteenBitIdentifiers) {
  const std::optional<uint16_t> none;
  const std::pair<std::wstring, std::optional<uint16_t>> cases[] = {
      {L"IMAGE_2", none}, {L"A#1", none},  {L"#0101", 101}, {L"#101.5", 102}, {L"#102.5", 102},
      {L"#65537", 1},     {L"#-1", 65535}, {L"#12abc", 12}, {L"#abc", 0},     {L"#99999999999999999999999", 0},
  };
  for (const auto& [name, id] : cases) EXPECT_EQ(ResourceIdFromName(name.c_str()), id) << name;
}

// Waits end on the deadline, never before it: both directions round up.
TEST(WaitDeadline, RoundsTowardTheLaterEnd) {
  // The last column: what MillisecondsUntil(now, deadline) leaves.
  const std::tuple<int64_t, int64_t, int, int64_t, uint32_t> cases[] = {
      {5, 1000, 250, 255, 250},
      {0, 10'000'000, 1, 10'000, 1},
      {0, 3, 1, 1, 334},  // one tick of a slow counter is 333.3 ms
      {1LL << 40, 3'579'545, 30'000, (1LL << 40) + 107'386'350, 30'000},
      {100, 1000, 0, 100, 0},
  };
  for (const auto& [now, ticksPerSecond, milliseconds, deadline, left] : cases) {
    EXPECT_EQ(DeadlineAfter(now, milliseconds, ticksPerSecond), deadline) << now << "+" << milliseconds;
    EXPECT_EQ(MillisecondsUntil(now, deadline, ticksPerSecond), left) << now << "+" << milliseconds;
  }
  EXPECT_EQ(MillisecondsUntil(100, 40, 1000), 0u);  // past: nothing left to wait
  EXPECT_EQ(MillisecondsUntil(0, 10, 0), 0u);       // no counter: no wait
}

// Scaled in single precision and rounded half to even, as the form's layout has always been.
TEST(WideDivision, AgreesWithTheMachinesDivision) {
  constexpr uint64_t kMax = UINT64_MAX;
  // The last three need the carry: divisors past 2^63.
  const uint64_t cases[][2] = {{0, 7},
                               {6, 7},
                               {7, 7},
                               {kMax, 1},
                               {kMax, 10},
                               {1000005, 1000},
                               {kMax, 1ull << 32},
                               {kMax - 1, kMax},
                               {kMax, (1ull << 63) + 1},
                               {1ull << 63, (1ull << 63) + 5}};
  for (const auto& [dividend, divisor] : cases) {
    uint64_t remainder = 1;
    EXPECT_EQ(DivideWide(dividend, divisor, remainder), dividend / divisor) << dividend << " / " << divisor;
    EXPECT_EQ(remainder, dividend % divisor) << dividend << " % " << divisor;
  }
}

TEST(DpiScale, ScalesInSinglePrecisionAndRoundsHalvesToEven) {
  // DPI, units, pixels.
  const int cases[][3] = {
      {96, 450, 450}, {120, 450, 562}, {120, 451, 564}, {120, 2, 2}, {144, 1, 2}, {144, 3, 4}, {144, 5, 8}, {72, 3, 2},
  };
  for (const auto& [dpi, units, pixels] : cases) EXPECT_EQ(ScaledPixels(DpiFactorFor(dpi), units), pixels) << units;
}

}  // namespace
