#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "contracts/ControlIds.h"  // Form1's control IDs, for the suites

// Finding and driving the windows of a program under test, as an accessibility tool would.

// A visible top-level window of process id, of any class, or null.
HWND FirstVisibleWindow(DWORD processId);

// Form1 of process id once it is visible, or null after milliseconds.
HWND WaitForForm1(DWORD processId, int milliseconds);

// Every window below parent, children's children too.
std::vector<HWND> ChildWindows(HWND parent);

std::string WindowText(HWND window);

// The window's rectangle in its parent's client coordinates (screen ones for a top-level).
RECT RectInParent(HWND window);

// Sets an edit box's text as typing would leave it (WM_SETTEXT, which crosses processes).
void TypeText(HWND edit, const std::string& text);

// Posted, so a handler that opens a modal box does not block the test.
void Click(HWND button);
void PressKey(HWND window, WPARAM virtualKey);

struct MessageBoxButton {
  int id;
  std::string caption;
};

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string title;
  std::string text;
  std::vector<MessageBoxButton> buttons;
};

// The visible message boxes (#32770) of a process.
std::vector<MessageBoxInfo> FindMessageBoxes(DWORD processId);
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, int milliseconds);
void PressMessageBoxButton(const MessageBoxInfo& box, int buttonId);

// Waits until condition() holds, checking every 50 ms; false once milliseconds have passed
// on the clock (a slow condition check does not stretch the wait).
template <typename Condition>
bool WaitUntil(Condition condition, int milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}
