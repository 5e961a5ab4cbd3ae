#pragma once

#include <windows.h>

// Shows the form and dispatches messages until it is gone; returns FormResult and resets it.
int RunModalLoop(HWND form, int showCommand);

// The form a window belongs to (the nearest ancestor whose class begins with "FORM_").
HWND FindDialogTarget(HWND window);

// Dispatches every message waiting in the thread's queue.
void PumpMessages();

// Returns after about milliseconds (at least 1), dispatching messages meanwhile.
int WaitWithMessages(int milliseconds);

void PostClose(HWND window);

// Repaints the whole client area at once.
void RefreshWindow(HWND window);
