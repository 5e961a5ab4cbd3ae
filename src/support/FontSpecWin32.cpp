#include "support/FontSpecWin32.h"

#include "platform/GbkText.h"
#include "support/FontSpec.h"
#include "support/ScopedWin32.h"

HFONT CreatePointFont(const std::string& faceName, int pointSize, int dpiArgument, int weight, BYTE italic,
                      BYTE underline, BYTE strikeOut) {
  ScopedGetDC screen(nullptr);
  LOGFONTW font{};
  font.lfHeight =
      PointFontHeight(pointSize, dpiArgument, GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfUnderline = underline;
  font.lfStrikeOut = strikeOut;
  // The Chinese character set makes Windows substitute a Chinese face where the named one is
  // missing, whatever the system's language.
  font.lfCharSet = GB2312_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  // A longer face name is cut to the field, terminator included.
  const WideText face(faceName);
  for (int i = 0; i < face.Length() && i < LF_FACESIZE - 1; ++i) font.lfFaceName[i] = face[i];
  return CreateFontIndirectW(&font);
}

HFONT CreateFontFromSpec(const std::string& spec) {
  const FontSpec font = ParseFontSpec(spec, PixelsToPoints);
  return CreatePointFont(font.faceName, font.pointSize, -1, font.weight, font.italic, font.underline, font.strikeOut);
}

int PixelsToPoints(int pixels) {
  ScopedGetDC display(nullptr);
  if (!display) return 0;
  return PixelsToPointsAt(pixels, GetDeviceCaps(display, LOGPIXELSY));
}
