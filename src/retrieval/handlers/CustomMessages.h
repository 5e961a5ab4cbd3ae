#pragma once

#include <windows.h>

// The program's own window messages, posted to Form1.
inline constexpr UINT kProgressMessage = 1624;  // WM_USER + 600: bytes written, total bytes
inline constexpr UINT kStartMessage = 37488;    // 0x9270: run the package-information step

// Form1's handler for the custom messages; 0 lets the message go on to default handling.
int CustomMessageHandler(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
