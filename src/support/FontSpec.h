#pragma once

#include <cstdint>
#include <string>

// What a control's font spec asks for. Italic, underline and strike-out are 0 (off) or
// any other byte value (on).
struct FontSpec {
  std::string faceName;
  int pointSize = 0;
  int weight = 400;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  int style = 0;  // 1 bold, 2 italic, 4 underline, 8 strike-out
};

// Converts a pixel height of the long shape into points.
using PixelsToPointsFunction = int (*)(int pixels);

// Short shape "face,size,style" (at most 10 commas) or long shape in LOGFONT field order
// "face,height,width,escapement,orientation,weight,italic,underline,strikeout,..." .
FontSpec ParseFontSpec(const std::string& spec, PixelsToPointsFunction pixelsToPoints);

// Windows' MulDiv: number * numerator / denominator rounded half away from zero, -1 when
// the denominator is 0 or the result does not fit.
int MulDivRounded(int number, int numerator, int denominator);

// |pixels| in points on a screen of logPixelsY dots per inch.
int PixelsToPointsAt(int pixels, int logPixelsY);

// LOGFONT height for a point size. dpiArgument: -1 the screen's horizontal DPI, above 0
// that DPI (size corrected by it / logPixelsY), else no correction.
int PointFontHeight(int pointSize, int dpiArgument, int logPixelsX, int logPixelsY);
