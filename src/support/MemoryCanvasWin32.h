#pragma once

// An off-screen drawing surface: a bitmap selected into a memory DC, together with the
// object the DC held before. The paint back buffer and the two page pictures use it.

#include <windows.h>

struct MemoryCanvas {
  HBITMAP bitmap = nullptr;          // the surface's pixels; null when not made
  HGDIOBJ previousObject = nullptr;  // put back into the DC on release
  HDC memoryDc = nullptr;            // the DC to draw into; null when not made

  MemoryCanvas() = default;
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
};

// Makes a width x height surface compatible with the reference DC (the display when none)
// and fills it with the colour. A surface the canvas held before is released first.
void CreateCanvas(MemoryCanvas& canvas, int width, int height, HDC reference, COLORREF fill);

HDC CanvasDc(const MemoryCanvas& canvas);

// Frees the surface; the canvas is empty afterwards and may be released again.
void ReleaseCanvas(MemoryCanvas& canvas);

// The surface without the fill: bitmap and memory DC compatible with the reference.
void MakeCanvasSurface(MemoryCanvas& canvas, HDC reference, int width, int height);

// A DC of the whole display, for making display-compatible surfaces.
HDC CreateDisplayDc();
