#pragma once

#include <windows.h>

// Waits for the worker thread while drawing six dots running round a circle, "下载中",
// "请稍等哦" and the time elapsed in the middle of window. Messages are dispatched between
// frames, so the window stays responsive. Repaints the window once the worker has ended.
void BusyIndicator(HWND window, HANDLE worker);

// The first character of the user's decimal separator (LOCALE_SDECIMAL); "." when unknown.
char DecimalSeparator();
