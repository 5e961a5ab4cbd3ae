// Stands in for the install action in the test build installer-skip-extraction only.
#include "wizard/InstallActionWin32.h"
#include "wizard/InstallTexts.h"
#include "wizard/PageMoveWin32.h"

void RunInstallAction(HWND form) { ShowPageMove(form, kExtractionDoneMove); }
