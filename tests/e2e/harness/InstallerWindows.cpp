#include "Harness.h"

#include <cstring>

#include "contracts/ProgramIdentity.h"
#include "platform/GbkText.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static text of a message box

// Texts are read and written wide and held in GBK, as the suites' literals, whatever the
// code page.
std::string ClassName(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return GbkFromWide(name).value_or("");
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Of any class when className is null.
std::vector<HWND> VisibleTopLevel(DWORD processId, const char* className) {
  std::vector<HWND> all, found;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (id == processId && IsWindowVisible(window) && (!className || ClassName(window) == className)) {
      found.push_back(window);
    }
  }
  return found;
}

}  // namespace

HWND FirstVisibleWindow(DWORD processId) {
  const auto found = VisibleTopLevel(processId, nullptr);
  return found.empty() ? nullptr : found.front();
}

HWND WaitForForm1(DWORD processId, int milliseconds) {
  std::vector<HWND> found;
  WaitUntil([&] { return !(found = VisibleTopLevel(processId, kForm1ClassName)).empty(); }, milliseconds);
  return found.empty() ? nullptr : found.front();
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::string WindowText(HWND window) {
  wchar_t text[1024] = L"";
  // WM_GETTEXT with a time-out: a busy program must not hang the test.
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
  return GbkFromWide(text).value_or("(no GBK form)");
}

void TypeText(HWND edit, const std::string& text) {
  SendMessageW(edit, WM_SETTEXT, 0, LPARAM(static_cast<const wchar_t*>(WideText(text))));
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void PressKey(HWND window, WPARAM virtualKey) {
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(window, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
}

std::vector<MessageBoxInfo> FindMessageBoxes(DWORD processId) {
  std::vector<MessageBoxInfo> boxes;
  for (HWND window : VisibleTopLevel(processId, "#32770")) {
    MessageBoxInfo box{window, WindowText(window), WindowText(GetDlgItem(window, kMessageTextId)), {}};
    for (HWND child : ChildWindows(window)) {
      if (_stricmp(ClassName(child).c_str(), "Button") == 0 && IsWindowVisible(child)) {
        box.buttons.push_back(GetDlgCtrlID(child));
      }
    }
    boxes.push_back(box);
  }
  return boxes;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, int milliseconds) {
  std::vector<MessageBoxInfo> boxes;
  if (!WaitUntil([&] { return !(boxes = FindMessageBoxes(processId)).empty(); }, milliseconds)) return {};
  return boxes.front();
}

void PressMessageBoxButton(const MessageBoxInfo& box, int buttonId) {
  if (const HWND button = GetDlgItem(box.window, buttonId)) Click(button);
}
