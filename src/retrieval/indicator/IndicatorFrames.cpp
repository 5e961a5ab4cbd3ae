#include "retrieval/indicator/IndicatorFrames.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

// Halves go to the even neighbour, as everywhere else the program rounds.
int RoundToNearest(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

int32_t AdvanceDotAngle(int32_t angle) {
  int32_t step = 4;
  if (angle < 110) {
    step = 3;
  } else if (angle < 200) {
    step = 2;
  } else if (angle < 290) {
    step = 1;
  }
  angle += step;
  return angle > 360 ? angle - 360 : angle;
}

UnitPoint DotCentre(int32_t angle) {
  constexpr double kCentre = kIndicatorBoxUnits / 2;
  constexpr double kRadius = 55;
  const double radians = angle * std::numbers::pi / 180;
  return {RoundToNearest(kCentre + kRadius * std::cos(radians)), RoundToNearest(kCentre + kRadius * std::sin(radians))};
}

int32_t ElapsedTenths(uint32_t startTick, uint32_t now) {
  const uint32_t milliseconds = now - startTick;
  return static_cast<int32_t>(RoundToNearest(milliseconds / 100.0));
}

std::string ElapsedText(int32_t tenths, char decimalSeparator) {
  constexpr int32_t kTenthsPerMinute = 600;
  char text[40];
  if (tenths < kTenthsPerMinute) {
    std::snprintf(text, sizeof text, "%d%c%ds", tenths / 10, decimalSeparator, tenths % 10);
  } else {
    const int32_t rest = tenths % kTenthsPerMinute;
    std::snprintf(text, sizeof text, "%dn%d%c%ds", tenths / kTenthsPerMinute, rest / 10, decimalSeparator, rest % 10);
  }
  return text;
}

PixelBox IndicatorBox(int clientWidth, int clientHeight, float scaleX, float scaleY) {
  const float half = kIndicatorBoxUnits / 2.0f;
  return {RoundToNearest(clientWidth / 2 - half * scaleX), RoundToNearest(clientHeight / 2 - (half + 20) * scaleY),
          RoundToNearest(kIndicatorBoxUnits * scaleX), RoundToNearest(kIndicatorBoxUnits * scaleY)};
}

int ScaleCoordinate(int value, float scale) { return RoundToNearest(static_cast<double>(value) * scale); }
