#pragma once

#include <cstdint>

// Per-pixel colour changes for decoded resource pictures. Pixels are 32-bit ARGB
// (alpha in the top byte), as GDI+ reads and writes them.

// lighten / 100 for a percentage of 1 to 99; any other value lightens nothing (0).
float LightenFactor(int lightenPercent);

// Moves red, green and blue toward 255 by the factor, then, if asked, turns the pixel to
// its luma grey. Alpha is kept; results round to nearest, ties to even.
uint32_t AdjustPixel(uint32_t argb, float lightenFactor, bool greyscale);
