#pragma once

#include <windows.h>

// Shows the form and dispatches messages until it is gone; returns FormResult and resets it.
int RunModalLoop(HWND form, int showCommand);

// The form a window belongs to (the nearest ancestor whose class begins with "FORM_").
HWND FindDialogTarget(HWND window);

// Dispatches every message waiting in the thread's queue.
void PumpMessages();

// True once a pump took the quit message: Form1 was destroyed inside a wait.
bool QuitReceived();

// Returns after about milliseconds (at least 1), dispatching messages meanwhile; at once
// after the quit message, which stays queued and would wake every round of the wait.
int WaitWithMessages(int milliseconds);

void PostClose(HWND window);

// Repaints the whole client area at once.
void RefreshWindow(HWND window);
