#include "support/DpiScale.h"

#include <cmath>

float DpiFactorFor(int logPixels) { return static_cast<float>(static_cast<long double>(logPixels) / 96.0L); }

float ScaleLength(float factor, float length) { return factor * length; }

int RoundToEven(float value) {
  // nearbyint follows the default rounding mode, which is to nearest with ties to even.
  return static_cast<int>(std::nearbyint(value));
}

int ScaledPixels(float factor, int units) { return RoundToEven(ScaleLength(factor, static_cast<float>(units))); }
