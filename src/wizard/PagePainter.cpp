#include "wizard/PagePainter.h"

#include "support/ScopedWin.h"

int PaintPage(HWND form) {
  ScopedPaint paint(form);
  return -1;
}
