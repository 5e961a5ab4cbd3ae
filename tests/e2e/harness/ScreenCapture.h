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

  uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

// Copies the client area from the screen (Form1 is topmost; under Xvfb no window manager
// draws over it).
Pixels CaptureClientArea(HWND window);

// 0x00RRGGBB of a COLORREF.
uint32_t RgbOf(COLORREF colour);

// An 8-bit RGB PNG file, stored without compression.
bool SavePng(const Pixels& pixels, const std::string& path);
