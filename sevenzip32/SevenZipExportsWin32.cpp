// The library's exports (declared in contracts/SevenZipInterface.h): thin calls into the
// portable reader, plus the message pump that keeps the caller's window alive while it unpacks.
#include <windows.h>

#include "CallerText.h"
#include "ProgressRecord.h"
#include "SevenZipCommand.h"
#include "contracts/SevenZipInterface.h"
#include "platform/HeldFileRetry.h"

namespace {

HWND gOwnerWindow = nullptr;
SevenZipCallback gCallback = nullptr;
// The library shows no windows and never changes the cursor; the modes are only remembered.
BOOL gBackgroundMode = FALSE;
BOOL gCursorMode = FALSE;

// False once the thread was told to quit: the quit message goes back for the caller's loop.
// Wide, so that a Unicode caller's window gets its characters whole.
bool PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

// Waits for a file another program holds with the caller's window alive; the callback is asked
// after each pause whether to go on.
class CallerWindowClock : public RetryClock {
 public:
  uint32_t NowMs() override { return GetTickCount(); }
  bool Pause(uint32_t milliseconds) override {
    const DWORD end = GetTickCount() + milliseconds;
    for (DWORD now = GetTickCount(); int32_t(end - now) > 0; now = GetTickCount()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
      if (!PumpMessages()) return false;
    }
    sevenzip::ProgressRecord record{};
    return !gCallback || gCallback(gOwnerWindow, WM_NULL, kSevenZipWaitingForFile, &record) != FALSE;
  }
};

CallerWindowClock gCallerWindowClock;

class CallbackObserver : public sevenzip::ExtractObserver {
 public:
  bool OnEntryStart(const sevenzip::ExtractProgress& p) override { return Report(kSevenZipEntryStart, p); }
  bool OnEntryWritten(const sevenzip::ExtractProgress& p) override {
    return !pacer_.Due(p, GetTickCount()) || Report(kSevenZipEntryWriting, p);
  }

 private:
  sevenzip::WriteReportPacer pacer_;

  static bool Report(unsigned state, const sevenzip::ExtractProgress& progress) {
    if (!PumpMessages()) return false;
    if (!gCallback) return true;
    sevenzip::ProgressRecord record = sevenzip::MakeProgressRecord(progress);
    // WM_NULL: harmless should a caller pass the message on to a window.
    return gCallback(gOwnerWindow, WM_NULL, state, &record) != FALSE;
  }
};

}  // namespace

// No exception may unwind into the caller's frames: it would end the caller's process.
int WINAPI SevenZip(HWND, LPCSTR commandLine, LPSTR output, DWORD outputSize) try {
  if (output && outputSize > 0) output[0] = '\0';
  if (!commandLine) return sevenzip::kResultBadCommand;
  UseHeldFileClock(&gCallerWindowClock);
  CallbackObserver observer;
  return sevenzip::RunSevenZipCommand(commandLine, observer);
} catch (...) {
  return sevenzip::kResultUnsupported;
}

BOOL WINAPI SevenZipCheckArchive(LPCSTR archivePath, int) try {
  UseHeldFileClock(&gCallerWindowClock);
  return archivePath && sevenzip::CheckArchiveFile(archivePath);
} catch (...) {
  return FALSE;
}

BOOL WINAPI SevenZipGetBackGroundMode() { return gBackgroundMode; }

BOOL WINAPI SevenZipSetBackGroundMode(BOOL mode) {
  gBackgroundMode = mode;
  return TRUE;
}

BOOL WINAPI SevenZipSetCursorMode(BOOL mode) {
  gCursorMode = mode;
  return TRUE;
}

BOOL WINAPI SevenZipSetOwnerWindowEx(HWND window, SevenZipCallback callback) {
  gOwnerWindow = window;
  gCallback = callback;
  return TRUE;
}

// Ours: switches every text of the interface to UTF-8 (TRUE) or back to the ANSI code page.
BOOL WINAPI SevenZipSetUtf8Mode(BOOL on) {
  sevenzip::UseUtf8CallerText(on != FALSE);
  return TRUE;
}
