// Stands in for the desktop shell's launch in the test build installer-no-shell only: as where
// no Explorer runs, so the finish page starts the program itself.
#include "wizard/DesktopShellLaunchWin32.h"

bool StartThroughDesktopShell(const LaunchRequest&) { return false; }
