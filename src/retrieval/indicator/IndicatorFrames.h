#pragma once

#include <array>
#include <cstdint>
#include <string>

// The busy indicator's numbers: a 120 x 120 unit box with six dots running round a circle
// and the time since the transfer began.

inline constexpr int kIndicatorBoxUnits = 120;
// The dots take one step every 8 ms; a frame shows every second step, about as often as a
// 60 Hz screen can show one, so no drawing goes into frames nobody sees.
inline constexpr int kDotStepMs = 8;
inline constexpr int kDotStepsPerFrame = 2;
inline constexpr int kIndicatorFrameMs = kDotStepMs * kDotStepsPerFrame;
inline constexpr int kDotCount = 6;
inline constexpr std::array<int32_t, kDotCount> kDotStartAngles = {0, 40, 80, 120, 160, 200};
// COLORREF values (0x00BBGGRR): red, green, blue, cyan, magenta, yellow.
inline constexpr std::array<uint32_t, kDotCount> kDotColours = {0x0000FF, 0x00FF00, 0xFF0000,
                                                                0xFFFF00, 0xFF00FF, 0x00FFFF};
inline constexpr int kDotSize = 10;

// The next frame's angle in whole degrees: fast through the lower right, slower through the
// lower left, crawling through the upper left, rushing through the upper right.
int32_t AdvanceDotAngle(int32_t angle);

struct UnitPoint {
  int x;
  int y;
};
// The dot's centre in box units; angle 0 is the rightmost point, angles grow clockwise.
UnitPoint DotCentre(int32_t angle);

// Tenths of a second since startTick, rounded; the tick counter may wrap.
int32_t ElapsedTenths(uint32_t startTick, uint32_t now);
// "12.3s", or "1n5.3s" from a minute on, with the locale's decimal separator.
std::string ElapsedText(int32_t tenths, char decimalSeparator);

struct PixelBox {
  int x;
  int y;
  int width;
  int height;
};
// The box in client pixels: centred horizontally, its centre 20 units above the client
// area's centre.
PixelBox IndicatorBox(int clientWidth, int clientHeight, float scaleX, float scaleY);

// A canvas coordinate in pixels: value times scale, rounded to the nearest integer.
int ScaleCoordinate(int value, float scale);
