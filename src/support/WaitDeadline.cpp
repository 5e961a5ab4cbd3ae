#include "support/WaitDeadline.h"

uint32_t MillisecondsUntil(int64_t now, int64_t deadline, int64_t ticksPerSecond) {
  if (deadline <= now || ticksPerSecond <= 0) return 0;
  return static_cast<uint32_t>(((deadline - now) * 1000 + ticksPerSecond - 1) / ticksPerSecond);
}

int64_t DeadlineAfter(int64_t now, int milliseconds, int64_t ticksPerSecond) {
  return now + (ticksPerSecond * milliseconds + 999) / 1000;
}
