#include "support/ControlHelpers.h"

#include <commctrl.h>

void SetProgressPos(HWND bar, int position) { SendMessageA(bar, PBM_SETPOS, position, 0); }

void SetProgressRange(HWND bar, int low, int high) { SendMessageA(bar, PBM_SETRANGE32, low, high); }

void DisableControl(HWND window) { EnableWindow(window, FALSE); }

void EnableControl(HWND window) { EnableWindow(window, TRUE); }

int IsControlChecked(HWND checkBox) {
  if (!IsWindow(checkBox)) return 0;
  return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED ? -1 : 0;
}

namespace {

// Width and height of the rectangle that getRect (GetClientRect or GetWindowRect) reports.
BOOL SizeOf(HWND window, BOOL(WINAPI* getRect)(HWND, LPRECT), int& width, int& height) {
  RECT rect{};
  if (!IsWindow(window)) return FALSE;
  const BOOL result = getRect(window, &rect);
  width = rect.right - rect.left;
  height = rect.bottom - rect.top;
  return result;
}

}  // namespace

BOOL GetClientSize(HWND window, int& width, int& height) { return SizeOf(window, GetClientRect, width, height); }

BOOL GetWindowSize(HWND window, int& width, int& height) { return SizeOf(window, GetWindowRect, width, height); }

std::string GetControlText(HWND window) {
  if (!IsWindow(window)) return {};
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

BOOL SetControlText(HWND window, const std::string& text) {
  return IsWindow(window) ? SetWindowTextA(window, text.c_str()) : FALSE;
}

BOOL ShowControl(HWND window, int showCommand) { return IsWindow(window) ? ShowWindow(window, showCommand) : FALSE; }
