#include "retrieval/indicator/IndicatorFrames.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

// Halves go to the even neighbour, as everywhere else the program rounds.
int RoundToNearest(double value) { return static_cast<int>(std::nearbyint(value)); }

// The sine of whole degrees by its series, folded onto -90..90 where ten terms give full double
// precision; the maths library's sin and cos would cost the installer almost a kilobyte.
double SineOfDegrees(int32_t degrees) {
  degrees %= 360;
  if (degrees < 0) degrees += 360;
  double sign = 1;
  if (degrees >= 180) {
    degrees -= 180;
    sign = -1;
  }
  if (degrees > 90) degrees = 180 - degrees;
  const double x = degrees * std::numbers::pi / 180;
  double term = x;
  double sum = x;
  for (int power = 3; power <= 21; power += 2) {
    term *= -x * x / ((power - 1) * power);
    sum += term;
  }
  return sign * sum;
}

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
  return {RoundToNearest(kCentre + kRadius * SineOfDegrees(angle + 90)),
          RoundToNearest(kCentre + kRadius * SineOfDegrees(angle))};
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
