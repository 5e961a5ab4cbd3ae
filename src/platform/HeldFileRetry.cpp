#include "platform/HeldFileRetry.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace {

// Windows error codes, named here so that the rule builds and is tested on any system.
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kSharingViolation = 32;
constexpr uint32_t kLockViolation = 33;

class SleepingClock : public RetryClock {
 public:
#ifdef _WIN32
  uint32_t NowMs() override { return GetTickCount(); }
  bool Pause(uint32_t milliseconds) override {
    Sleep(milliseconds);
    return true;
  }
#else
  uint32_t NowMs() override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
  }
  bool Pause(uint32_t milliseconds) override {
    const timespec pause{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000};
    nanosleep(&pause, nullptr);
    return true;
  }
#endif
};

SleepingClock gSleepingClock;
RetryClock* gClock = &gSleepingClock;

}  // namespace

FileAnswer AnswerForError(uint32_t error) {
  return error == kSharingViolation || error == kLockViolation || error == kAccessDenied ? FileAnswer::Held
                                                                                         : FileAnswer::Failed;
}

uint32_t PauseBeforeRetry(FileAnswer answer, uint32_t waited) {
  if (answer != FileAnswer::Held || waited >= kHeldFileWaitMs) return 0;
  const uint32_t left = kHeldFileWaitMs - waited;
  return left < kHeldFilePauseMs ? left : kHeldFilePauseMs;
}

RetryClock& HeldFileClock() { return *gClock; }

void UseHeldFileClock(RetryClock* clock) { gClock = clock ? clock : &gSleepingClock; }
