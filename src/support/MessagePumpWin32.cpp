#include "support/MessagePumpWin32.h"

#include <cstdint>

#include "support/ScopedWin32.h"
#include "support/WaitDeadline.h"

namespace {

bool gQuitReceived = false;

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

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Put it back for the main loop, which would otherwise wait for one more message
      // after Form1 was destroyed inside a wait.
      gQuitReceived = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    const HWND active = GetActiveWindow();
    if (active && IsDialogMessageW(active, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool QuitReceived() { return gQuitReceived; }

namespace {

// Dispatches messages until the deadline, or until one of the handles is signalled (true).
bool WaitUntilDeadline(int64_t deadline, int64_t frequency, DWORD count, const HANDLE* handles) {
  uint32_t left = MillisecondsUntil(PerformanceTicks(), deadline, frequency);
  while (left > 0) {
    const DWORD woke = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_ALLINPUT);
    PumpMessages();
    if (count > 0 && woke == WAIT_OBJECT_0) return true;
    if (QuitReceived()) break;
    left = MillisecondsUntil(PerformanceTicks(), deadline, frequency);
  }
  return false;
}

}  // namespace

int WaitWithMessages(int milliseconds) {
  if (QuitReceived()) return 0;
  if (milliseconds <= 0) milliseconds = 1;
  const int64_t frequency = PerformanceFrequency();
  const int64_t deadline = DeadlineAfter(PerformanceTicks(), milliseconds, frequency);

  // Unnamed: a named timer is one object for every process that opens the name, so two
  // installers waiting at once would set and reset each other's timer.
  AutoCloseHandle timer(CreateWaitableTimerW(nullptr, TRUE, nullptr));
  LARGE_INTEGER due;
  due.QuadPart = -10000LL * milliseconds;
  const bool timerRuns = timer.IsValid() && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
  const HANDLE handles[1] = {timer.Get()};
  // The clock bounds every round, so the wait ends on time even without a timer.
  WaitUntilDeadline(deadline, frequency, timerRuns ? 1 : 0, handles);
  return 0;
}

bool WaitForObjectWithMessages(HANDLE object, int milliseconds) {
  if (QuitReceived()) return false;
  const int64_t frequency = PerformanceFrequency();
  // No timer: creating one each time would cost more than the frame it paces.
  return WaitUntilDeadline(DeadlineAfter(PerformanceTicks(), milliseconds, frequency), frequency, 1, &object);
}

void PostClose(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

void RefreshWindow(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}

namespace {

class WindowThreadClock : public RetryClock {
 public:
  uint32_t NowMs() override { return GetTickCount(); }
  bool Pause(uint32_t milliseconds) override {
    if (GetCurrentThreadId() != windowThread_) {
      Sleep(milliseconds);
      return true;
    }
    WaitWithMessages(static_cast<int>(milliseconds));
    return !QuitReceived();
  }

 private:
  const DWORD windowThread_ = GetCurrentThreadId();
};

}  // namespace

RetryClock& WindowRetryClock() {
  static WindowThreadClock clock;
  return clock;
}
