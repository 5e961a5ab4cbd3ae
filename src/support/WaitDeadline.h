#pragma once

#include <cstdint>

// Whole milliseconds from now until deadline on a counter of ticksPerSecond, rounded up
// so that a wait never ends early; 0 once the deadline has passed.
uint32_t MillisecondsUntil(int64_t now, int64_t deadline, int64_t ticksPerSecond);

// The counter value milliseconds after now.
int64_t DeadlineAfter(int64_t now, int milliseconds, int64_t ticksPerSecond);
