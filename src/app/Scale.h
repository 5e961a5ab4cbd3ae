#pragma once

// A length in 96-dpi units times the screen's DPI factor, rounded to single precision.
// Callers turn the result into pixels with RoundToEven (app/DpiScale.h).
float ScaleX(float length);
float ScaleY(float length);
