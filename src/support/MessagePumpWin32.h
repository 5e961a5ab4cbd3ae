#pragma once

#include <windows.h>

#include "platform/HeldFileRetry.h"

// Dispatches every message waiting in the thread's queue.
void PumpMessages();

// True once a pump took the quit message: Form1 was destroyed inside a wait.
bool QuitReceived();

// Returns after about milliseconds (at least 1), dispatching messages meanwhile; at once
// after the quit message, which stays queued and would wake every round of the wait.
int WaitWithMessages(int milliseconds);

// The same wait, ended as soon as object is signalled: true then.
bool WaitForObjectWithMessages(HANDLE object, int milliseconds);

void PostClose(HWND window);

// Repaints the whole client area at once.
void RefreshWindow(HWND window);

// Pauses between tries on a held file: on the calling window thread with messages dispatched,
// given up once Form1 is gone; on another thread a plain sleep.
RetryClock& WindowRetryClock();
