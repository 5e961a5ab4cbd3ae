#include "retrieval/indicator/TextLayer.h"

#include <algorithm>

#include "retrieval/indicator/IndicatorFrames.h"

PixelRect InkBounds(const std::vector<uint32_t>& onBlack, const std::vector<uint32_t>& onWhite, int width, int height) {
  constexpr uint32_t kColour = 0xFFFFFF;
  PixelRect ink{width, height, 0, 0};
  const auto size = static_cast<size_t>(width) * static_cast<size_t>(height > 0 ? height : 0);
  if (width <= 0 || onBlack.size() < size || onWhite.size() < size) return {};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      if ((onBlack[at] & kColour) == 0 && (onWhite[at] & kColour) == kColour) continue;
      ink.left = std::min(ink.left, x);
      ink.top = std::min(ink.top, y);
      ink.right = std::max(ink.right, x + 1);
      ink.bottom = std::max(ink.bottom, y + 1);
    }
  }
  return ink.left < ink.right ? ink : PixelRect{};
}

PixelRect DotPixels(int32_t angle, float scaleX, float scaleY, int penWidth) {
  const UnitPoint centre = DotCentre(angle);
  const int left = centre.x - kDotSize / 2;
  const int top = centre.y - kDotSize / 2;
  return {ScaleCoordinate(left, scaleX) - penWidth, ScaleCoordinate(top, scaleY) - penWidth,
          ScaleCoordinate(left + kDotSize, scaleX) + penWidth, ScaleCoordinate(top + kDotSize, scaleY) + penWidth};
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
  const bool empty = a.left >= a.right || a.top >= a.bottom || b.left >= b.right || b.top >= b.bottom;
  return !empty && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
