#pragma once

#include <windows.h>

// Registers Form1's class and creates Form1; null when it cannot be made.
HWND CreateForm1();
