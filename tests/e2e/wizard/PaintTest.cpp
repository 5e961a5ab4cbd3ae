// What the pages look like on the screen: backgrounds, pictures, separators and texts, at
// the screen's DPI (the suite runs at 96 and 144 dpi). Screenshots go to the artifacts.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "WizardFixture.h"

namespace {

constexpr uint32_t kKeyColour = 0xC60088;  // RGB(198, 0, 136)

// A 96-dpi length on this screen, rounded to nearest, ties to even.
int Scaled(int length) { return static_cast<int>(std::nearbyint(length * (ScreenDpi() / 96.0))); }

uint32_t Face() { return RgbOf(GetSysColor(COLOR_BTNFACE)); }
uint32_t Shadow() { return RgbOf(GetSysColor(COLOR_BTNSHADOW)); }
uint32_t Highlight() { return RgbOf(GetSysColor(COLOR_BTNHIGHLIGHT)); }

bool Near(uint32_t pixel, uint32_t colour) {
  const auto channel = [](uint32_t value, int shift) { return static_cast<int>((value >> shift) & 0xFF); };
  int distance = 0;
  for (const int shift : {0, 8, 16}) distance += std::abs(channel(pixel, shift) - channel(colour, shift));
  return distance <= 60;
}

// Pixels near the colour in [left, right) x [top, bottom).
int CountNear(const Pixels& pixels, RECT box, uint32_t colour) {
  int count = 0;
  for (int y = box.top; y < box.bottom && y < pixels.height; ++y) {
    for (int x = box.left; x < box.right && x < pixels.width; ++x) count += Near(pixels.At(x, y), colour);
  }
  return count;
}

// The first column, from the left, holding a pixel near the colour within rows [top, bottom).
int LeftmostNear(const Pixels& pixels, int top, int bottom, int right, uint32_t colour) {
  for (int x = 0; x < right; ++x) {
    for (int y = top; y < bottom; ++y) {
      if (Near(pixels.At(x, y), colour)) return x;
    }
  }
  return -1;
}

bool HasKeyColour(const Pixels& pixels) {
  for (const uint32_t pixel : pixels.rgb) {
    if ((pixel & 0xFFFFFE) == kKeyColour) return true;  // a JPEG may give (198, 0, 137)
  }
  return false;
}

// Text is drawn at anchors in device pixels whatever the DPI: expect some of the colour just
// right of and below the anchor.
void ExpectTextAt(const Pixels& pixels, int x, int y, uint32_t colour, const char* what) {
  EXPECT_GT(CountNear(pixels, {x, y, x + 120, y + 30}, colour), 10) << what;
}

// The header band of pages 0, 2, 3 and 4.
void ExpectHeaderBand(const Pixels& pixels) {
  EXPECT_EQ(pixels.At(Scaled(440), Scaled(51)), Shadow());  // right of every text, at any DPI
  EXPECT_EQ(pixels.At(Scaled(440), Scaled(51) - 1), Face());  // the banner's key strip shows the face
  EXPECT_EQ(pixels.At(Scaled(100), Scaled(250)), Shadow());
  EXPECT_EQ(pixels.At(Scaled(100), Scaled(251)), Highlight());
  EXPECT_EQ(pixels.At(Scaled(64), Scaled(250)), Face());  // the separator starts at x 68
  EXPECT_FALSE(HasKeyColour(pixels));
  // The title's and the site text's anchors stay at (13, 7) and (12, 242).
  const int titleLeft = LeftmostNear(pixels, 7, 30, 100, 0x000000);
  EXPECT_GE(titleLeft, 13);
  EXPECT_LE(titleLeft, 17);
  const int siteLeft = LeftmostNear(pixels, 242, 262, 66, Shadow());
  EXPECT_GE(siteLeft, 12);
  EXPECT_LE(siteLeft, 16);
  ExpectTextAt(pixels, 22, 33, 0x000000, "subtitle");
}

using PaintTest = WizardTest;

TEST_F(PaintTest, PaintWelcomePage) {
  const HWND form = StartWithPackage(Installer(), OrdinaryPackage());
  ASSERT_TRUE(form);
  const Pixels pixels = CaptureClientArea(form);
  SaveScreenshot(form, "-" + std::to_string(ScreenDpi()) + "dpi");
  ASSERT_GT(pixels.width, Scaled(440));

  EXPECT_EQ(pixels.At(Scaled(2), Scaled(125)), Face());  // the picture's key-colour border
  EXPECT_FALSE(HasKeyColour(pixels));
  EXPECT_NE(pixels.At(Scaled(60), Scaled(100)), Face());  // the picture itself
  EXPECT_EQ(pixels.At(Scaled(440), Scaled(240)), 0xFFFFFFu);  // the white panel
  EXPECT_EQ(pixels.At(Scaled(300), Scaled(250)), Shadow());
  EXPECT_EQ(pixels.At(Scaled(300), Scaled(251)), Highlight());
  EXPECT_EQ(pixels.At(Scaled(280), Scaled(262)), Face());

  ExpectTextAt(pixels, 200, 64, 0x0000FF, "display name");
  ExpectTextAt(pixels, 160, 104, 0x0000FF, "version line");
  ExpectTextAt(pixels, 145, 218, 0x339900, "岚舟软件");
  ExpectTextAt(pixels, 238, 224, 0xFF0000, "绝对保证无毒无害无污染");
  ExpectTextAt(pixels, 14, 258, 0x800080, "welcome line");
  ExpectTextAt(pixels, 123, 20, 0x000000, "greeting");
}

TEST_F(PaintTest, PaintHeaderBandPages) {
  const HWND form = StartWithPackage(SkipExtractionInstaller(), OrdinaryPackage());
  ASSERT_TRUE(form);
  const std::string dpi = "-" + std::to_string(ScreenDpi()) + "dpi";

  struct TextAnchor {
    int x, y;
    uint32_t colour;
    const char* what;
  };
  const struct {
    int button;
    const char* row;
    const char* name;
    std::vector<TextAnchor> texts;
  } steps[] = {
      {kNextButtonId, kFolderRow, "-folder",
       {{10, 63, 0x000000, "folder page line 1"}, {5, 109, 0x008000, "folder page green line"}}},
      {kNextButtonId, kFinishRow, "-finish",
       {{15, 216, 0xFF0000, "antivirus note"}, {300, 109, 0xFF0000, "岚舟软件"}}},
      {kBackButtonId, kExtractionRow, "-extraction", {{29, 93, 0x000000, "extraction line"}}},
  };
  for (const auto& step : steps) {
    ASSERT_TRUE(ClickAndWaitForPage(form, step.button, step.row)) << VisibleControls(form);
    const Pixels pixels = CaptureClientArea(form);
    SaveScreenshot(form, step.name + dpi);
    ExpectHeaderBand(pixels);
    for (const TextAnchor& text : step.texts) ExpectTextAt(pixels, text.x, text.y, text.colour, text.what);
  }
}

// An extract-only package skips the folder page; Next then closes, with nothing to start.
TEST_F(PaintTest, PaintExtractOnlyFinishPage) {
  const HWND form = StartWithPackage(SkipExtractionInstaller(), ExtractOnlyPackage());
  ASSERT_TRUE(form);
  ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kExtractOnlyFinishRow)) << VisibleControls(form);
  EXPECT_EQ(WindowText(GetDlgItem(form, kFolderEditId)), OfferedFolder(kExtractOnlyFolderName));
  const Pixels pixels = CaptureClientArea(form);
  SaveScreenshot(form, "-" + std::to_string(ScreenDpi()) + "dpi");
  ExpectHeaderBand(pixels);
  ExpectTextAt(pixels, 15, 189, 0xFF0000, "unpack note, red");
  ExpectTextAt(pixels, 230, 216, 0x0000FF, "done note, blue");
  Click(GetDlgItem(form, kNextButtonId));
  ExpectExitCode(0);
}

}  // namespace
