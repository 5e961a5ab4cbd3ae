#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "contracts/ControlIds.h"

// Untouched: the control keeps the visibility earlier pages left it with.
enum class Visibility { Hide, Show, Untouched };

struct ControlVisibility {
  int32_t controlId;
  Visibility visibility;
};

constexpr size_t kWizardControlCount = 10;

// Pages outside 0-4 leave every control untouched.
std::array<ControlVisibility, kWizardControlCount> VisibilityRow(int32_t page, bool extractOnly);

enum class ShapeKind {
  FaceBox,       // filled with the system face colour, no outline
  WhiteBox,      // filled white, no outline
  WelcomeImage,  // the whole picture, keyed on kImageKeyColour
  BannerImage,
  ShadowLine,     // one pixel, system shadow colour
  HighlightLine,  // one pixel, system highlight colour
};

// Boxes and lines: (x1, y1)-(x2, y2). Pictures: destination (x1, y1), size x2 by y2.
struct Shape {
  ShapeKind kind;
  int32_t x1, y1, x2, y2;
};

constexpr uint32_t kImageKeyColour = 0x8800C6;

// The backgrounds in drawing order, already scaled for the given DPI factors.
std::array<Shape, 5> WelcomeBackground(float dpiFactorX, float dpiFactorY);
std::array<Shape, 5> HeaderBand(float dpiFactorX, float dpiFactorY);

// Where a text of the given extent is drawn. alignWidth 0 or less: at x; up to 10000:
// centred in alignWidth; above 10000: its right edge at x + (alignWidth - 10000).
struct TextPlacement {
  int32_t left, top, right, bottom;
};

TextPlacement PlaceText(int32_t x, int32_t y, int32_t alignWidth, int32_t width, int32_t height);
