#pragma once

#include <cstdint>

// Programs that open every file just written (virus scanners, indexers, backup tools) hold it
// for a moment without sharing it: a call on such a file answers with a sharing violation or
// access denied. Those calls are tried again for a bounded time, in short pauses; any other
// failure is final at once.

inline constexpr uint32_t kHeldFileWaitMs = 10000;  // per file, in all
inline constexpr uint32_t kHeldFilePauseMs = 100;

enum class FileAnswer { Done, Held, Failed };

// The answer for a failed call's Windows error code (GetLastError).
FileAnswer AnswerForError(uint32_t error);

// How long to pause before the next try after `answer`, when `waited` milliseconds have passed
// since the first; 0 when there is no next try.
uint32_t PauseBeforeRetry(FileAnswer answer, uint32_t waited);

// The clock and pause between tries.
class RetryClock {
 public:
  virtual ~RetryClock() = default;
  virtual uint32_t NowMs() = 0;
  // False when the user stopped meanwhile: the call is then given up.
  virtual bool Pause(uint32_t milliseconds) = 0;
};

// The process's clock for held files: a plain sleep unless a program installs its own, which
// keeps its window alive and hears a stop.
RetryClock& HeldFileClock();
void UseHeldFileClock(RetryClock* clock);  // null: the plain sleep again

// Tries until attempt() is Done or Failed, stays Held past the bound, or the pause reports a
// stop; true when Done.
template <typename Attempt>
bool RetryWhileHeld(RetryClock& clock, Attempt attempt) {
  const uint32_t start = clock.NowMs();
  for (;;) {
    const FileAnswer answer = attempt();
    if (answer == FileAnswer::Done) return true;
    const uint32_t pause = PauseBeforeRetry(answer, clock.NowMs() - start);
    if (pause == 0 || !clock.Pause(pause)) return false;
  }
}

template <typename Attempt>
bool RetryWhileHeld(Attempt attempt) {
  return RetryWhileHeld(HeldFileClock(), attempt);
}
