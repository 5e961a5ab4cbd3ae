#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Thin control calls for the wizard. The guarded ones do nothing (returning 0 or empty
// text) for a window that no longer exists.

void SetProgressPos(HWND bar, int position);
void SetProgressRange(HWND bar, int low, int high);
void DisableControl(HWND window);
void EnableControl(HWND window);

// -1 when checked, else 0.
int IsControlChecked(HWND checkBox);
BOOL GetClientSize(HWND window, int& width, int& height);
BOOL GetWindowSize(HWND window, int& width, int& height);
std::string GetControlText(HWND window);
BOOL SetControlText(HWND window, const std::string& text);
BOOL ShowControl(HWND window, int showCommand);

// MessageBox with the program's GBK texts, shown the same under any code page.
int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT type);
