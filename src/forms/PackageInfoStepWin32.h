#pragma once

#include <windows.h>

// The start message's handler on Form1: the package-information step with the program's
// own marker, downloads, message boxes and exit.
void OnStartMessage(HWND form);
