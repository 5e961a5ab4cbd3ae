#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Pixels of a window's client area as shown on the screen, 0x00RRGGBB, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;

  // 0xFFFFFFFF (no colour) outside the area, so a check off the edge fails instead of crashing.
  uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
    return rgb[static_cast<std::size_t>(y) * width + x];
  }
};

// The screen's dots per inch (96 at 100 %, 120 at 125 %).
int ScreenDpi();

// Copies the client area from the screen (Form1 is topmost; under Xvfb no window manager
// draws over it).
Pixels CaptureClientArea(HWND window);

// 0x00RRGGBB of a COLORREF.
uint32_t RgbOf(COLORREF colour);

// A PNG file written by GDI+.
bool SavePng(const Pixels& pixels, const std::string& path);
