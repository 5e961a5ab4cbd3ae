#include "retrieval/indicator/OverlayCanvasWin32.h"

#include "platform/GbkText.h"
#include "retrieval/indicator/IndicatorFrames.h"
#include "state/AppStateWin32.h"
#include "support/FontSpecWin32.h"

namespace {

// Selects object and hands back what it replaced, or nothing when the object is missing.
HGDIOBJ SelectInto(HDC dc, HGDIOBJ object) { return dc && object ? SelectObject(dc, object) : nullptr; }

}  // namespace

OverlayCanvas::OverlayCanvas(HWND window, int x, int y, int width, int height)
    : scaleX_(DpiFactorX), scaleY_(DpiFactorY) {
  if (!IsWindow(window)) return;
  const HDC windowDc = windowDc_.emplace(window);
  if (!windowDc) return;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  backBuffer_.Reset(CreateCompatibleBitmap(windowDc, width, height));
  memoryDc_.Reset(CreateCompatibleDC(windowDc));
  replacedBitmap_ = SelectInto(memoryDc_, backBuffer_);
  snapshot_.Reset(CreateCompatibleBitmap(windowDc, width, height));
  snapshotDc_.Reset(CreateCompatibleDC(windowDc));
  replacedSnapshotBitmap_ = SelectInto(snapshotDc_, snapshot_);
  kept_.Reset(CreateCompatibleBitmap(windowDc, width, height));
  keptDc_.Reset(CreateCompatibleDC(windowDc));
  replacedKeptBitmap_ = SelectInto(keptDc_, kept_);
  BitBlt(snapshotDc_, 0, 0, width, height, windowDc, x, y, SRCCOPY);
  BitBlt(memoryDc_, 0, 0, width, height, windowDc, x, y, SRCCOPY);
  if (memoryDc_) SetBkMode(memoryDc_, TRANSPARENT);
}

OverlayCanvas::~OverlayCanvas() {
  if (!memoryDc_) return;
  Present();
  if (replacedBitmap_) SelectObject(memoryDc_, replacedBitmap_);
  if (replacedFont_) SelectObject(memoryDc_, replacedFont_);
  if (replacedPen_) SelectObject(memoryDc_, replacedPen_);
  if (replacedBrush_) SelectObject(memoryDc_, replacedBrush_);
  if (replacedSnapshotBitmap_ && snapshotDc_) SelectObject(snapshotDc_, replacedSnapshotBitmap_);
  if (replacedKeptBitmap_ && keptDc_) SelectObject(keptDc_, replacedKeptBitmap_);
}

int OverlayCanvas::X(int value) const { return ScaleCoordinate(value, scaleX_); }
int OverlayCanvas::Y(int value) const { return ScaleCoordinate(value, scaleY_); }

void OverlayCanvas::SetPen(int width, COLORREF colour, int style) {
  if (!memoryDc_) return;
  const HPEN pen = CreatePen(style, X(width), colour);
  const HGDIOBJ replaced = SelectInto(memoryDc_, pen);
  if (!replacedPen_) replacedPen_ = replaced;
  pen_.Reset(pen);
}

void OverlayCanvas::SetBrush(COLORREF colour) {
  if (!memoryDc_) return;
  const HBRUSH brush = CreateSolidBrush(colour);
  const HGDIOBJ replaced = SelectInto(memoryDc_, brush);
  if (!replacedBrush_) replacedBrush_ = replaced;
  brush_.Reset(brush);
}

void OverlayCanvas::SetFont(const std::string& face, int points, bool bold, bool italic, bool underline,
                            bool strikeOut) {
  if (!memoryDc_) return;
  // At 96 dpi the size is taken as it is; otherwise the screen's DPI sizes it.
  const int dpiArgument = scaleX_ == 1.0f ? 96 : -1;
  const HFONT font =
      CreatePointFont(face, points, dpiArgument, bold ? FW_BOLD : FW_NORMAL, italic, underline, strikeOut);
  const HGDIOBJ replaced = SelectInto(memoryDc_, font);
  if (!replacedFont_) replacedFont_ = replaced;
  font_.Reset(font);
}

void OverlayCanvas::Restore() {
  if (memoryDc_) BitBlt(memoryDc_, 0, 0, width_, height_, snapshotDc_, 0, 0, SRCCOPY);
}

void OverlayCanvas::Keep() {
  if (memoryDc_ && keptDc_) BitBlt(keptDc_, 0, 0, width_, height_, memoryDc_, 0, 0, SRCCOPY);
}

void OverlayCanvas::RestoreKept() {
  if (memoryDc_ && keptDc_) BitBlt(memoryDc_, 0, 0, width_, height_, keptDc_, 0, 0, SRCCOPY);
}

void OverlayCanvas::Blank(bool white) {
  if (memoryDc_) PatBlt(memoryDc_, 0, 0, width_, height_, white ? WHITENESS : BLACKNESS);
}

std::vector<uint32_t> OverlayCanvas::Pixels() {
  if (!memoryDc_ || !backBuffer_ || width_ <= 0 || height_ <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_));
  // The bitmap must not be selected into a DC while its bits are read.
  SelectObject(memoryDc_, replacedBitmap_);
  const int rows = GetDIBits(memoryDc_, backBuffer_, 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
  SelectObject(memoryDc_, backBuffer_);
  if (rows != height_) pixels.clear();
  return pixels;
}

void OverlayCanvas::DrawEllipse(int x, int y, int width, int height) {
  if (memoryDc_) Ellipse(memoryDc_, X(x), Y(y), X(x + width), Y(y + height));
}

void OverlayCanvas::DrawOutlinedText(int x, int y, int width, int height, const std::string& text, COLORREF haloColour,
                                     UINT format) {
  if (!memoryDc_) return;
  RECT box;
  SetRect(&box, X(x), Y(y), X(x + width), Y(y + height));
  const WideText wide(text);
  const COLORREF textColour = GetTextColor(memoryDc_);
  SetTextColor(memoryDc_, haloColour);
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      RECT shifted = box;
      OffsetRect(&shifted, dx, dy);
      DrawTextW(memoryDc_, wide, wide.Length(), &shifted, format);
    }
  }
  SetTextColor(memoryDc_, textColour);
  DrawTextW(memoryDc_, wide, wide.Length(), &box, format);
}

void OverlayCanvas::Present() {
  if (memoryDc_) BitBlt(*windowDc_, x_, y_, width_, height_, memoryDc_, 0, 0, SRCCOPY);
}
