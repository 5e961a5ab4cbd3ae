#include "app/Scale.h"

#include "state/AppState.h"
#include "support/DpiScale.h"

// The entry point sets the factors before any window exists.
float ScaleX(float length) { return ScaleLength(DpiFactorX, length); }

float ScaleY(float length) { return ScaleLength(DpiFactorY, length); }
