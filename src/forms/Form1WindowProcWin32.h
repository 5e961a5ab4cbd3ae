#pragma once

#include <windows.h>

// Form1's window procedure: event handlers first, then the custom-message handler, then
// the engine's default handling; a handler's non-zero result ends the processing.
LRESULT CALLBACK Form1WindowProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
