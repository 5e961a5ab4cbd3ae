#pragma once

#include <windows.h>

// Run from Form1's WM_DESTROY: releases the archive library and deletes the downloads.
int CleanUpOnDestroy(HWND form);
