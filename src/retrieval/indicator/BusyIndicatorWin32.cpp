#include "retrieval/indicator/BusyIndicatorWin32.h"

#include <array>

#include "retrieval/indicator/IndicatorFrames.h"
#include "retrieval/indicator/OverlayCanvasWin32.h"
#include "retrieval/indicator/TextLayer.h"
#include "state/AppStateWin32.h"
#include "support/MessagePumpWin32.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr UINT kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr int kPenWidth = 1;

// The three text lines' tops in box units; the last line is the elapsed time.
constexpr std::array<int, 3> kTextTops = {23, 49, 73};
constexpr int kElapsedLine = 2;

void DrawTextLine(OverlayCanvas& canvas, int line, const std::string& text) {
  canvas.DrawOutlinedText(10, kTextTops[line], 100, 25, text, kWhite, kCentredLine);
}

void DrawTexts(OverlayCanvas& canvas, const std::string& elapsed) {
  DrawTextLine(canvas, 0, "下载中");
  DrawTextLine(canvas, 1, "请稍等哦");
  DrawTextLine(canvas, kElapsedLine, elapsed);
}

void DrawDots(OverlayCanvas& canvas, const std::array<int32_t, kDotCount>& angles) {
  for (int dot = 0; dot < kDotCount; ++dot) {
    canvas.SetBrush(kDotColours[dot]);
    const UnitPoint centre = DotCentre(angles[dot]);
    canvas.DrawEllipse(centre.x - kDotSize / 2, centre.y - kDotSize / 2, kDotSize, kDotSize);
  }
}

// The box with the texts drawn over its background, kept in the canvas, and where each text
// line's pixels lie. Drawing the texts ten times each is most of a frame's cost, and they
// change only with the elapsed time, ten times a second.
class KeptTexts {
 public:
  void Update(OverlayCanvas& canvas, const PixelBox& box, const std::string& elapsed) {
    if (!fixedInkFound_) {
      FindInk(canvas, box, 0, "下载中");
      FindInk(canvas, box, 1, "请稍等哦");
      fixedInkFound_ = true;
    }
    FindInk(canvas, box, kElapsedLine, elapsed);
    canvas.Restore();
    DrawTexts(canvas, elapsed);
    canvas.Keep();
    elapsed_ = elapsed;
  }

  bool IsFor(const std::string& elapsed) const { return elapsed == elapsed_; }

  // True when no dot comes near a text, so that the dots may go over the kept box.
  bool ClearOf(const std::array<int32_t, kDotCount>& angles) const {
    if (!inkKnown_) return false;
    for (int32_t angle : angles) {
      const PixelRect dot = DotPixels(angle, DpiFactorX, DpiFactorY, ScaleCoordinate(kPenWidth, DpiFactorX));
      for (const PixelRect& ink : ink_) {
        if (Overlap(dot, ink)) return false;
      }
    }
    return true;
  }

 private:
  // The line drawn on black and on white shows which pixels it touches.
  void FindInk(OverlayCanvas& canvas, const PixelBox& box, int line, const std::string& text) {
    canvas.Blank(false);
    DrawTextLine(canvas, line, text);
    const std::vector<uint32_t> onBlack = canvas.Pixels();
    canvas.Blank(true);
    DrawTextLine(canvas, line, text);
    const std::vector<uint32_t> onWhite = canvas.Pixels();
    if (onBlack.empty() || onWhite.empty()) inkKnown_ = false;
    ink_[line] = InkBounds(onBlack, onWhite, box.width, box.height);
  }

  std::string elapsed_;
  std::array<PixelRect, kTextTops.size()> ink_;
  bool fixedInkFound_ = false;
  bool inkKnown_ = true;
};

// The background, the dots and the texts over them, in one BitBlt to the window.
void DrawFrame(OverlayCanvas& canvas, KeptTexts& texts, const PixelBox& box,
               const std::array<int32_t, kDotCount>& angles, const std::string& elapsed) {
  if (!texts.IsFor(elapsed)) texts.Update(canvas, box, elapsed);
  if (texts.ClearOf(angles)) {
    canvas.RestoreKept();
    DrawDots(canvas, angles);
  } else {
    canvas.Restore();
    DrawDots(canvas, angles);
    DrawTexts(canvas, elapsed);
  }
  canvas.Present();
}

}  // namespace

void BusyIndicator(HWND window, HANDLE worker) {
  const uint32_t startTick = GetTickCount();
  RECT client{};
  GetClientRect(window, &client);
  const PixelBox box = IndicatorBox(client.right - client.left, client.bottom - client.top, DpiFactorX, DpiFactorY);
  const char separator = DecimalSeparator();
  {
    OverlayCanvas canvas(window, box.x, box.y, box.width, box.height);
    canvas.SetPen(kPenWidth, kWhite, PS_SOLID);
    canvas.SetFont("Microsoft YaHei", 14, false, false, false, false);
    std::array<int32_t, kDotCount> angles = kDotStartAngles;
    KeptTexts texts;
    // Sleeps in the message wait, so the loop costs next to nothing between frames, and ends
    // the moment the worker does. Once Form1 is gone there is nothing to draw on; the caller
    // waits for the worker.
    while (!WaitForObjectWithMessages(worker, kIndicatorFrameMs) && !QuitReceived()) {
      for (int step = 0; step < kDotStepsPerFrame; ++step) {
        for (int32_t& angle : angles) angle = AdvanceDotAngle(angle);
      }
      DrawFrame(canvas, texts, box, angles, ElapsedText(ElapsedTenths(startTick, GetTickCount()), separator));
    }
  }
  RefreshWindow(window);
}

char DecimalSeparator() {
  wchar_t separator[8] = L"";
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2 || separator[0] > 0x7F) return '.';
  return static_cast<char>(separator[0]);
}
