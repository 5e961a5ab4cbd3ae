#pragma once

#include <windows.h>

#include "forms/Form1Controls.h"
#include "forms/WindowRecordWin32.h"

// Makes the ten controls from the control table, with records, fonts, colours and
// initial states, and focuses the launch check box. Runs inside Form1's WM_CREATE.
void CreateForm1Controls(HWND form);

// Subclasses the control with ControlWindowProc and gives it its font and colours; null
// (control left as made) when memory is exhausted.
WindowRecord* AttachControlRecord(HWND control, const char* fontSpec, ControlColours colours);

// EnumChildWindows callback: renews a child's system-colour brush after a colour change.
BOOL CALLBACK RefreshControlColours(HWND child, LPARAM);

// The procedure every control of Form1 is subclassed with: focus memory and clean-up.
LRESULT CALLBACK ControlWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
