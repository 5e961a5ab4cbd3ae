#pragma once

#include <windows.h>

#include "contracts/WindowMessages.h"

// Form1's handler for the custom messages; 0 lets the message go on to default handling.
int CustomMessageHandler(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
