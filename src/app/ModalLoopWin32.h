#pragma once

#include <windows.h>

// Shows the form and dispatches messages until it is gone; returns FormResult and resets it.
int RunModalLoop(HWND form, int showCommand);

// The form a window belongs to (the nearest ancestor whose class begins with "FORM_").
HWND FindDialogTarget(HWND window);
