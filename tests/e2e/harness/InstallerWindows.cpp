#include "InstallerWindows.h"

#include <cstring>

#include "contracts/ProgramIdentity.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static text of a message box

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return id;
}

struct TopLevelSearch {
  DWORD processId;
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
  if (ProcessOf(window) == search->processId && IsWindowVisible(window) &&
      (!search->className || ClassName(window) == search->className)) {
    search->found.push_back(window);
  }
  return TRUE;
}

// Of any class when className is null.
std::vector<HWND> VisibleTopLevel(DWORD processId, const char* className) {
  TopLevelSearch search{processId, className, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM parameter) {
  if (_stricmp(ClassName(child).c_str(), "Button") == 0 && IsWindowVisible(child)) {
    reinterpret_cast<std::vector<MessageBoxButton>*>(parameter)->push_back(
        {GetDlgCtrlID(child), WindowText(child)});
  }
  return TRUE;
}

}  // namespace

HWND FirstVisibleWindow(DWORD processId) {
  const auto found = VisibleTopLevel(processId, nullptr);
  return found.empty() ? nullptr : found.front();
}

HWND WaitForForm1(DWORD processId, int milliseconds) {
  HWND form = nullptr;
  WaitUntil(
      [&] {
        const auto found = VisibleTopLevel(processId, kForm1ClassName);
        form = found.empty() ? nullptr : found.front();
        return form != nullptr;
      },
      milliseconds);
  return form;
}

std::string WindowText(HWND window) {
  char text[1024] = "";
  // WM_GETTEXT with a time-out: a busy program must not hang the test.
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  return text;
}

RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  if (const HWND parent = GetParent(window)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void TypeText(HWND edit, const std::string& text) {
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void PressKey(HWND window, WPARAM virtualKey) {
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(window, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
}

std::vector<MessageBoxInfo> FindMessageBoxes(DWORD processId) {
  std::vector<MessageBoxInfo> boxes;
  for (HWND window : VisibleTopLevel(processId, "#32770")) {
    MessageBoxInfo box;
    box.window = window;
    box.title = WindowText(window);
    box.text = WindowText(GetDlgItem(window, kMessageTextId));
    EnumChildWindows(window, CollectButton, reinterpret_cast<LPARAM>(&box.buttons));
    boxes.push_back(box);
  }
  return boxes;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, int milliseconds) {
  std::optional<MessageBoxInfo> found;
  WaitUntil(
      [&] {
        const auto boxes = FindMessageBoxes(processId);
        if (!boxes.empty()) found = boxes.front();
        return found.has_value();
      },
      milliseconds);
  return found;
}

void PressMessageBoxButton(const MessageBoxInfo& box, int buttonId) {
  if (const HWND button = GetDlgItem(box.window, buttonId)) Click(button);
}
