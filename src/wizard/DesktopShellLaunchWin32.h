#pragma once

#include "wizard/ShortcutPlan.h"

// Asks the desktop's shell (Explorer) to open the program, so that it runs with the user's
// own rights rather than the installer's administrator rights. False when there is no desktop
// shell or a step on the way to it refuses; nothing was started then.
bool StartThroughDesktopShell(const LaunchRequest& launch);
