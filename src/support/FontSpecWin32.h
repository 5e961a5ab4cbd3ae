#pragma once

#include <windows.h>

#include <string>

// A font of pointSize points that grows with the screen's DPI. dpiArgument: -1 the
// screen's horizontal DPI, above 0 that DPI, else no correction. The caller owns the font.
HFONT CreatePointFont(const std::string& faceName, int pointSize, int dpiArgument, int weight, BYTE italic,
                      BYTE underline, BYTE strikeOut);

// The font a control's spec such as "微软雅黑,9,0" describes. The caller owns it.
HFONT CreateFontFromSpec(const std::string& spec);

// |pixels| as points on the display; 0 when no display DC can be made.
int PixelsToPoints(int pixels);
