#include "support/MemoryCanvasWin32.h"

#include "support/ScopedWin32.h"

MemoryCanvas::~MemoryCanvas() { ReleaseCanvas(*this); }

HDC CreateDisplayDc() { return CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr); }

void MakeCanvasSurface(MemoryCanvas& canvas, HDC reference, int width, int height) {
  canvas.bitmap = CreateCompatibleBitmap(reference, width, height);
  canvas.memoryDc = CreateCompatibleDC(reference);
  if (canvas.memoryDc && canvas.bitmap) canvas.previousObject = SelectObject(canvas.memoryDc, canvas.bitmap);
}

void CreateCanvas(MemoryCanvas& canvas, int width, int height, HDC reference, COLORREF fill) {
  ReleaseCanvas(canvas);
  if (reference) {
    MakeCanvasSurface(canvas, reference, width, height);
  } else {
    ScopedCreateDC display(CreateDisplayDc());
    if (display) MakeCanvasSurface(canvas, display, width, height);
  }
  if (!canvas.memoryDc) return;
  RECT area{0, 0, width, height};
  ScopedBrush brush(CreateSolidBrush(fill));
  FillRect(canvas.memoryDc, &area, brush);
}

HDC CanvasDc(const MemoryCanvas& canvas) { return canvas.memoryDc; }

void ReleaseCanvas(MemoryCanvas& canvas) {
  if (canvas.memoryDc && canvas.previousObject) SelectObject(canvas.memoryDc, canvas.previousObject);
  if (canvas.bitmap) DeleteObject(canvas.bitmap);
  if (canvas.memoryDc) DeleteDC(canvas.memoryDc);
  canvas.bitmap = nullptr;
  canvas.previousObject = nullptr;
  canvas.memoryDc = nullptr;
}
