#include "support/MessagePump.h"

#include <string>

#include "state/AppState.h"
#include "app/DialogKeys.h"
#include "support/WaitDeadline.h"
#include "forms/WindowRecord.h"
#include "support/ScopedWin.h"

namespace {

std::string ClassNameOf(HWND window) {
  char name[100] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Esc and Tab inside a multi-line edit box would otherwise be swallowed by the box.
void ApplyEditBoxKeys(MSG& msg) {
  const HWND focus = GetFocus();
  if (!focus || !IsEditLikeClassName(ClassNameOf(focus), RichEditClass)) return;
  if (!(GetWindowLongA(focus, GWL_STYLE) & ES_MULTILINE)) return;
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

int64_t PerformanceTicks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

int64_t PerformanceFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
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
  while (GetMessageA(&msg, nullptr, 0, 0) > 0 && IsWindow(form) && msg.message != WM_QUIT) {
    record = RecordOf(form);
    if (record && record->accelerators && TranslateAcceleratorA(form, record->accelerators, &msg)) continue;
    const HWND target = FindDialogTarget(ActiveForm);
    ApplyEditBoxKeys(msg);
    if (target && IsDialogMessageA(target, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  const int result = FormResult;
  FormResult = 0;
  return result;
}

HWND FindDialogTarget(HWND window) {
  while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) &&
         !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    if (IsFormClassName(ClassNameOf(window))) break;
    window = GetParent(window);
  }
  return window;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Put it back for the main loop, which would otherwise wait for one more message
      // after Form1 was destroyed inside a wait.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    const HWND active = GetActiveWindow();
    if (active && IsDialogMessageA(active, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int WaitWithMessages(int milliseconds) {
  if (milliseconds <= 0) milliseconds = 1;
  const int64_t frequency = PerformanceFrequency();
  const int64_t deadline = DeadlineAfter(PerformanceTicks(), milliseconds, frequency);

  // Unnamed: a named timer is one object for every process that opens the name, so two
  // installers waiting at once would set and reset each other's timer.
  AutoCloseHandle timer(CreateWaitableTimerA(nullptr, TRUE, nullptr));
  LARGE_INTEGER due;
  due.QuadPart = -10000LL * milliseconds;
  const bool timerRuns = timer.IsValid() && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
  HANDLE handles[1] = {timer.Get()};

  // The clock bounds every round, so the wait ends on time even without a timer.
  uint32_t left = milliseconds;
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(timerRuns ? 1 : 0, handles, FALSE, left, QS_ALLINPUT);
    PumpMessages();
    if (timerRuns && woke == WAIT_OBJECT_0) break;
    left = MillisecondsUntil(PerformanceTicks(), deadline, frequency);
    if (left == 0) break;
  }
  return 0;
}

void PostClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void RefreshWindow(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}
