#include "support/ControlHelpersWin32.h"

#include <commctrl.h>

#include "platform/GbkText.h"

void SetProgressPos(HWND bar, int position) { SendMessageW(bar, PBM_SETPOS, position, 0); }

void SetProgressRange(HWND bar, int low, int high) { SendMessageW(bar, PBM_SETRANGE32, low, high); }

void DisableControl(HWND window) { EnableWindow(window, FALSE); }

void EnableControl(HWND window) { EnableWindow(window, TRUE); }

int IsControlChecked(HWND checkBox) {
  if (!IsWindow(checkBox)) return 0;
  return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED ? -1 : 0;
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
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  return GbkPathFromWide(text.c_str());
}

BOOL SetControlText(HWND window, const std::string& text) {
  return IsWindow(window) ? SetWindowTextW(window, WideText(text)) : FALSE;
}

BOOL ShowControl(HWND window, int showCommand) { return IsWindow(window) ? ShowWindow(window, showCommand) : FALSE; }

int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT type) {
  return MessageBoxW(owner, WideText(text), WideText(title), type);
}
