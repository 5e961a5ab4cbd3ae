#include "app/Scale.h"

#include "app/AppState.h"
#include "app/DpiScale.h"

// The entry point sets the factors before any window exists.
float ScaleX(float length) { return ScaleLength(DpiFactorX, length); }

float ScaleY(float length) { return ScaleLength(DpiFactorY, length); }
