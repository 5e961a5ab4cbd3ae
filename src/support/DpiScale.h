#pragma once

// Lengths are given in 96-dpi units and turned into pixels with the screen's DPI factor.

// logPixels / 96, divided in extended precision and stored as a 32-bit float.
float DpiFactorFor(int logPixels);

// factor * length, rounded to single precision.
float ScaleLength(float factor, float length);

// Round to nearest, ties to even: 562.5 gives 562, 563.5 gives 564.
int RoundToEven(float value);

// A length in 96-dpi units in pixels: scaled in single precision, then RoundToEven.
int ScaledPixels(float factor, int units);
