#include "wizard/PagePainterWin32.h"

#include <string>

#include "pages/PageModel.h"
#include "platform/GbkText.h"
#include "state/AppStateWin32.h"
#include "state/FormsStateWin32.h"
#include "state/PageImages.h"
#include "state/RetrievalState.h"
#include "state/WizardState.h"
#include "support/ControlHelpersWin32.h"
#include "support/FontSpecWin32.h"
#include "support/MemoryCanvasWin32.h"
#include "support/ScopedWin32.h"
#include "wizard/PageLayout.h"
#include "wizard/PageTexts.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kNoColour = static_cast<COLORREF>(-1);

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF brushColour, int penStyle, COLORREF penColour,
             int penWidth) {
  ScopedBrush brush(brushColour == kNoColour ? nullptr : CreateSolidBrush(brushColour));
  ScopedPen pen(CreatePen(penStyle, penWidth, penColour));
  ScopedSelectObject selectBrush(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
  ScopedSelectObject selectPen(dc, pen);
  Rectangle(dc, left, top, right, bottom);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, int penStyle, int penWidth, COLORREF colour) {
  ScopedPen pen(CreatePen(penStyle, penWidth, colour));
  ScopedSelectObject selectPen(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// The whole picture, stretched to the scaled size; key-colour pixels let the page show through.
void DrawPicture(HDC dc, const MemoryCanvas& picture, const Shape& shape) {
  BITMAP size{};
  if (!CanvasDc(picture) || !GetObjectW(picture.bitmap, sizeof size, &size)) return;
  GdiTransparentBlt(dc, shape.x1, shape.y1, shape.x2, shape.y2, CanvasDc(picture), 0, 0, size.bmWidth, size.bmHeight,
                    kImageKeyColour);
}

void PaintShapes(HDC dc, const std::array<Shape, 5>& shapes) {
  for (const Shape& s : shapes) {
    switch (s.kind) {
      case ShapeKind::FaceBox: FillBox(dc, s.x1, s.y1, s.x2, s.y2, GetSysColor(COLOR_BTNFACE), PS_NULL, 0, 1); break;
      case ShapeKind::WhiteBox: FillBox(dc, s.x1, s.y1, s.x2, s.y2, kWhite, PS_NULL, 0, 1); break;
      case ShapeKind::WelcomeImage: DrawPicture(dc, WelcomeImage(), s); break;
      case ShapeKind::BannerImage: DrawPicture(dc, BannerImage(), s); break;
      case ShapeKind::ShadowLine:
        DrawLine(dc, s.x1, s.y1, s.x2, s.y2, PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        break;
      case ShapeKind::HighlightLine:
        DrawLine(dc, s.x1, s.y1, s.x2, s.y2, PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        break;
    }
  }
}

void PaintWelcomeBackground(HDC dc) { PaintShapes(dc, WelcomeBackground(DpiFactorX, DpiFactorY)); }

void PaintHeaderBand(HDC dc) { PaintShapes(dc, HeaderBand(DpiFactorX, DpiFactorY)); }

// Draws text at (x, y) placed by alignWidth (see PlaceText); colour or background -1 keep
// the DC's text colour or draw transparently. Returns the x the text was drawn at.
int PaintText(HDC dc, int x, int y, const std::string& text, int alignWidth, COLORREF colour, COLORREF background,
              int points, const char* face, int weight) {
  if (colour != kNoColour) SetTextColor(dc, colour);
  if (background == kNoColour) {
    SetBkMode(dc, TRANSPARENT);
  } else {
    SetBkColor(dc, background);
    SetBkMode(dc, OPAQUE);
  }
  ScopedFont font(CreatePointFont(face, points, -1, weight, FALSE, FALSE, FALSE));
  ScopedSelectObject selectFont(dc, font);
  SIZE extent{};
  const WideText wide(text);
  GetTextExtentPoint32W(dc, wide, wide.Length(), &extent);
  const TextPlacement place = PlaceText(x, y, alignWidth, extent.cx, extent.cy);
  TextOutW(dc, place.left, place.top, wide, wide.Length());
  return place.left;
}

COLORREF ColourOf(const PageText& item) {
  return item.colour == kShadowColour ? GetSysColor(COLOR_BTNSHADOW) : static_cast<COLORREF>(item.colour);
}

void PaintTexts(HDC dc, int32_t page, bool extractOnly) {
  const std::string versionLine = WelcomeVersionLine(Package);
  const PageTextValues values{PageTitle, PageSubtitle, Package.PackageTitle, versionLine};
  for (const PageText& item : PageTexts(page, extractOnly)) {
    PaintText(dc, item.x, item.y, TextOf(item, values), item.alignWidth, ColourOf(item), kNoColour, item.points,
              FaceName(item.face), item.weight);
  }
}

void ApplyVisibility(int32_t page, bool extractOnly) {
  for (const ControlVisibility& control : VisibilityRow(page, extractOnly)) {
    if (control.visibility == Visibility::Untouched) continue;
    ShowControl(ControlWindow(control.controlId), control.visibility == Visibility::Show ? SW_SHOWNA : SW_HIDE);
  }
}

}  // namespace

int PaintPage(HWND form) {
  ScopedPaint paint(form);
  int width = 0, height = 0;
  GetWindowSize(form, width, height);
  MemoryCanvas buffer;
  CreateCanvas(buffer, width, height, nullptr, kWhite);
  const HDC dc = CanvasDc(buffer);
  const bool extractOnly = IsExtractOnly(Package);
  ApplyVisibility(CurrentPage, extractOnly);
  if (dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    if (CurrentPage == kWelcomePage) {
      PaintWelcomeBackground(dc);
    } else {
      PaintHeaderBand(dc);
    }
    PaintTexts(dc, CurrentPage, extractOnly);
    // The whole page in one transfer, whatever the update region: no flicker between layers.
    BitBlt(paint, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  }
  return -1;
}
