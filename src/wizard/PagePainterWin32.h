#pragma once

#include <windows.h>

// Form1's WM_PAINT handler; returns -1, so no default painting follows.
int PaintPage(HWND form);
