#include "wizard/PageLayout.h"

#include <cmath>

#include "support/DpiScale.h"

namespace {

// One row per control, one letter per page 0-4: S shown, H hidden,
// E shown unless the package is extract-only (then left as it is).
struct VisibilityLetters {
  int32_t controlId;
  const char byPage[6];
};

constexpr VisibilityLetters kVisibilityTable[kWizardControlCount] = {
    {kNextButtonId, "HSSSS"},   {kCancelButtonId, "SSSSS"},  {kBackButtonId, "HHSSS"},  {kFolderGroupId, "HHSHH"},
    {kBrowseButtonId, "HHSHH"}, {kFolderEditId, "HHSHH"},    {kProgressBarId, "SHHSH"}, {kProgressHintId, "SHHSH"},
    {kLaunchCheckId, "HHHHE"},  {kShortcutCheckId, "HHHHE"},
};

Visibility FromLetter(char letter, bool extractOnly) {
  switch (letter) {
    case 'S': return Visibility::Show;
    case 'H': return Visibility::Hide;
    default: return extractOnly ? Visibility::Untouched : Visibility::Show;
  }
}

// In 96-dpi units.
constexpr Shape kWelcomeBackground[] = {
    {ShapeKind::FaceBox, 0, 0, 450, 350},         {ShapeKind::WelcomeImage, 0, 0, 120, 250},
    {ShapeKind::WhiteBox, 120, 0, 450, 250},      {ShapeKind::ShadowLine, 0, 250, 450, 250},
    {ShapeKind::HighlightLine, 0, 251, 450, 251},
};

// The separator above the buttons starts at x 68, leaving room for the site text.
constexpr Shape kHeaderBand[] = {
    {ShapeKind::FaceBox, 0, 0, 450, 350},          {ShapeKind::BannerImage, 0, 0, 451, 53},
    {ShapeKind::ShadowLine, 0, 51, 450, 51},       {ShapeKind::ShadowLine, 68, 250, 450, 250},
    {ShapeKind::HighlightLine, 68, 251, 450, 251},
};

std::array<Shape, 5> Scaled(const Shape (&shapes)[5], float dpiFactorX, float dpiFactorY) {
  std::array<Shape, 5> result;
  for (size_t i = 0; i < result.size(); ++i) {
    const Shape& s = shapes[i];
    result[i] = {s.kind, ScaledPixels(dpiFactorX, s.x1), ScaledPixels(dpiFactorY, s.y1), ScaledPixels(dpiFactorX, s.x2),
                 ScaledPixels(dpiFactorY, s.y2)};
  }
  return result;
}

}  // namespace

std::array<ControlVisibility, kWizardControlCount> VisibilityRow(int32_t page, bool extractOnly) {
  std::array<ControlVisibility, kWizardControlCount> row;
  const bool known = page >= 0 && page <= 4;
  for (size_t i = 0; i < row.size(); ++i) {
    const VisibilityLetters& letters = kVisibilityTable[i];
    row[i] = {letters.controlId, known ? FromLetter(letters.byPage[page], extractOnly) : Visibility::Untouched};
  }
  return row;
}

std::array<Shape, 5> WelcomeBackground(float dpiFactorX, float dpiFactorY) {
  return Scaled(kWelcomeBackground, dpiFactorX, dpiFactorY);
}

std::array<Shape, 5> HeaderBand(float dpiFactorX, float dpiFactorY) {
  return Scaled(kHeaderBand, dpiFactorX, dpiFactorY);
}

TextPlacement PlaceText(int32_t x, int32_t y, int32_t alignWidth, int32_t width, int32_t height) {
  constexpr int32_t kRightAlignBase = 10000;
  int32_t left = x;
  if (alignWidth > kRightAlignBase) {
    left = x + (alignWidth - kRightAlignBase) - width;
  } else if (alignWidth > 0) {
    left = static_cast<int32_t>(std::nearbyint(x + (alignWidth - width) / 2.0));
  }
  return {left, y, left + width, y + height};
}
