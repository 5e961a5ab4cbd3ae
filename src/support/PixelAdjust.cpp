#include "support/PixelAdjust.h"

#include <cmath>

namespace {

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

uint32_t Lighten(uint32_t channel, float factor) {
  const float c = static_cast<float>(channel);
  return static_cast<uint32_t>(std::nearbyint((255.0f - c) * factor + c));
}

}  // namespace

float LightenFactor(int lightenPercent) {
  if (lightenPercent < 1 || lightenPercent > 99) return 0.0f;
  return static_cast<float>(lightenPercent) / 100.0f;
}

uint32_t AdjustPixel(uint32_t argb, float lightenFactor, bool greyscale) {
  uint32_t red = Lighten(Channel(argb, 16), lightenFactor);
  uint32_t green = Lighten(Channel(argb, 8), lightenFactor);
  uint32_t blue = Lighten(Channel(argb, 0), lightenFactor);
  if (greyscale) {
    const double luma = 0.299 * red + 0.587 * green + 0.114 * blue;
    red = green = blue = static_cast<uint32_t>(std::nearbyint(luma));
  }
  return (argb & 0xFF000000u) | (red << 16) | (green << 8) | blue;
}
