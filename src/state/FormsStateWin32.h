#pragma once

#include <windows.h>

// Form1's control handles, one slot per control ID; valid until Form1 is destroyed.

// The control with this ID, or null before it is made.
HWND ControlWindow(int id);

void StoreControlWindow(int id, HWND window);
