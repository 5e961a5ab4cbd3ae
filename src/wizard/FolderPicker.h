#pragma once

#include <windows.h>

// The Browse button's click handler (arguments as for every click handler); returns 0.
int OnBrowseClicked(int senderIndex, HWND form, HWND sender, int controlId);
