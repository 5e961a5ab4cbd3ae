#include "app/ModalLoopWin32.h"

#include <string>

#include "app/DialogKeys.h"
#include "forms/WindowRecordWin32.h"
#include "platform/GbkText.h"
#include "state/AppStateWin32.h"

namespace {

std::string ClassNameOf(HWND window) {
  wchar_t name[100] = L"";
  GetClassNameW(window, name, 100);
  return GbkFromWide(name).value_or("");
}

// Esc and Tab inside a multi-line edit box would otherwise be swallowed by the box.
void ApplyEditBoxKeys(MSG& msg) {
  const HWND focus = GetFocus();
  if (!focus || !IsEditLikeClassName(ClassNameOf(focus), RichEditClass)) return;
  if (!(GetWindowLongW(focus, GWL_STYLE) & ES_MULTILINE)) return;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    msg.message = WM_COMMAND;
    msg.wParam = IDCANCEL;
    msg.lParam = 0;
  } else if (msg.message == WM_CHAR && msg.wParam == '\t') {
    const bool backwards = GetAsyncKeyState(VK_SHIFT) < 0;
    SetFocus(GetNextDlgTabItem(GetParent(msg.hwnd), msg.hwnd, backwards));
    msg.message = WM_NULL;
  }
}

}  // namespace

int RunModalLoop(HWND form, int showCommand) {
  WindowRecord* record = RecordOf(form);
  if (!record) return 0;
  record->inModalLoop = -1;
  ShowWindow(form, showCommand);
  UpdateWindow(form);

  MSG msg;
  // -1 (an error) cannot come with a null filter window; it ends the loop rather than spin.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 && IsWindow(form) && msg.message != WM_QUIT) {
    record = RecordOf(form);
    if (record && record->accelerators && TranslateAcceleratorW(form, record->accelerators, &msg)) continue;
    const HWND target = FindDialogTarget(ActiveForm);
    ApplyEditBoxKeys(msg);
    if (target && IsDialogMessageW(target, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  const int result = FormResult;
  FormResult = 0;
  return result;
}

HWND FindDialogTarget(HWND window) {
  while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) &&
         !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    if (IsFormClassName(ClassNameOf(window))) break;
    window = GetParent(window);
  }
  return window;
}
