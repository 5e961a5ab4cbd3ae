#pragma once

#include <cstdint>
#include <vector>

// The busy indicator draws its texts over the dots. While no dot comes near the texts, a
// frame can start from a copy of the box with the texts already drawn and add only the dots:
// the same pixels, without drawing the texts again every frame.

// A rectangle of canvas pixels; right and bottom are outside it. Empty when left >= right.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The smallest rectangle holding every pixel that drawing the texts changed, from the texts
// drawn once on black (0x000000) and once on white (0xFFFFFF): a pixel the texts touch
// differs from at least one of the two. Pixels are 0x00RRGGBB, row by row; the top byte is
// ignored.
PixelRect InkBounds(const std::vector<uint32_t>& onBlack, const std::vector<uint32_t>& onWhite, int width, int height);

// The pixels a dot at the angle may touch: its ellipse box in canvas pixels, widened by the
// outline pen's width on every side.
PixelRect DotPixels(int32_t angle, float scaleX, float scaleY, int penWidth);

bool Overlap(const PixelRect& a, const PixelRect& b);
