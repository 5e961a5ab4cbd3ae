#pragma once

#include <windows.h>

// Run from Form1's WM_DESTROY: releases the archive library and removes the run's folder with
// the downloads in it.
int CleanUpOnDestroy(HWND form);
