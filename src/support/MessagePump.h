#pragma once

#include <windows.h>

// Dispatches every message waiting in the thread's queue.
void PumpMessages();

// Returns after about milliseconds (at least 1), dispatching messages meanwhile.
int WaitWithMessages(int milliseconds);

void PostClose(HWND window);

// Repaints the whole client area at once.
void RefreshWindow(HWND window);
