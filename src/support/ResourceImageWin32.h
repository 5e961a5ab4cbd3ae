#pragma once

// Pictures stored as raw image files in RT_RCDATA resources, decoded with GDI+.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>

#include "support/MemoryCanvasWin32.h"

constexpr int kResourceImageBitmap = 0;
constexpr int kResourceImageIcon = 1;

// Decodes the RT_RCDATA resource (a name "#101" means identifier 101) into a new HICON
// (mode kResourceImageIcon) or HBITMAP (any other mode, transparent areas on the ARGB
// background), lightened by the percentage and/or turned grey. The caller owns the
// result; null on any failure.
HANDLE LoadResourceImage(HMODULE module, const wchar_t* name, int lightenPercent, bool greyscale, int mode,
                         uint32_t background);

// Makes the canvas exactly the size of the decoded picture and draws it in; a picture
// that does not decode leaves the canvas empty (no DC), so copies from it draw nothing.
void LoadImageCanvas(MemoryCanvas& canvas, HMODULE module, const wchar_t* name, int lightenPercent, bool greyscale,
                     uint32_t background);

// Draws the bitmap into the canvas at (x, y), at its natural size when width or height is
// 0. Returns the status of the last GDI+ object creation.
Gdiplus::GpStatus DrawBitmapWithGdiPlus(MemoryCanvas& canvas, HBITMAP bitmap, float x, float y, float width,
                                        float height);
