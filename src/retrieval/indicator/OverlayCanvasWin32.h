#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/ScopedWin32.h"

// A double-buffered drawing surface over a region of a window, drawn outside the paint
// cycle. Coordinates are in 96-dpi units and grow with the screen. The region's look at
// opening is kept, so each frame can start from it again. A window that is gone at opening
// gives a canvas that draws nowhere.
class OverlayCanvas {
 public:
  OverlayCanvas(HWND window, int x, int y, int width, int height);
  // Presents once more and gives everything back.
  ~OverlayCanvas();
  OverlayCanvas(const OverlayCanvas&) = delete;
  OverlayCanvas& operator=(const OverlayCanvas&) = delete;

  void SetPen(int width, COLORREF colour, int style);
  void SetBrush(COLORREF colour);
  void SetFont(const std::string& face, int points, bool bold, bool italic, bool underline, bool strikeOut);
  // Brings back the region as it looked at opening.
  void Restore();
  // Keeps a copy of the back buffer, which RestoreKept brings back.
  void Keep();
  void RestoreKept();
  // Fills the back buffer with black or white.
  void Blank(bool white);
  // The back buffer's pixels as 0x00RRGGBB, row by row from the top; empty when it cannot be
  // read.
  std::vector<uint32_t> Pixels();
  void DrawEllipse(int x, int y, int width, int height);
  // The text in the DC's text colour over a one-pixel halo of haloColour.
  void DrawOutlinedText(int x, int y, int width, int height, const std::string& text, COLORREF haloColour, UINT format);
  // One BitBlt of the whole back buffer to the window.
  void Present();

 private:
  int X(int value) const;
  int Y(int value) const;

  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  float scaleX_;
  float scaleY_;
  // Declared so that the DCs go before what was selected into them, and the window DC last.
  std::optional<ScopedGetDC> windowDc_;
  ScopedBitmap backBuffer_;
  ScopedBitmap snapshot_;
  ScopedBitmap kept_;
  ScopedFont font_;
  ScopedPen pen_;
  ScopedBrush brush_;
  ScopedCreateDC memoryDc_;
  ScopedCreateDC snapshotDc_;
  ScopedCreateDC keptDc_;
  HGDIOBJ replacedBitmap_ = nullptr;
  HGDIOBJ replacedSnapshotBitmap_ = nullptr;
  HGDIOBJ replacedKeptBitmap_ = nullptr;
  HGDIOBJ replacedFont_ = nullptr;
  HGDIOBJ replacedPen_ = nullptr;
  HGDIOBJ replacedBrush_ = nullptr;
};
