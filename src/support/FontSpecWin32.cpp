#include "support/FontSpecWin32.h"

#include "support/FontSpec.h"
#include "support/ScopedWin.h"

HFONT CreatePointFont(const std::string& faceName, int pointSize, int dpiArgument, int weight, BYTE italic,
                      BYTE underline, BYTE strikeOut, BYTE charset) {
  ScopedGetDC screen(nullptr);
  LOGFONTW font{};
  font.lfHeight = PointFontHeight(pointSize, dpiArgument, GetDeviceCaps(screen, LOGPIXELSX),
                                  GetDeviceCaps(screen, LOGPIXELSY));
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfUnderline = underline;
  font.lfStrikeOut = strikeOut;
  font.lfCharSet = charset;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  // Face names are ANSI text; a longer one is cut to the field, terminator included.
  std::wstring face(faceName.size(), L'\0');
  face.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, faceName.data(), static_cast<int>(faceName.size()),
                                                           face.data(), static_cast<int>(face.size()))));
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

HFONT CreateFontFromSpec(const std::string& spec) {
  const FontSpec font = ParseFontSpec(spec, PixelsToPoints);
  return CreatePointFont(font.faceName, font.pointSize, -1, font.weight, font.italic, font.underline, font.strikeOut,
                         DEFAULT_CHARSET);
}

int PixelsToPoints(int pixels) {
  ScopedCreateDC display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  if (!display) return 0;
  return PixelsToPointsAt(pixels, GetDeviceCaps(display, LOGPIXELSY));
}
