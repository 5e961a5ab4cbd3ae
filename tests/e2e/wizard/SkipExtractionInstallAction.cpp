// Stands in for the install action in the test build installer-skip-extraction only.
#include "wizard/InstallAction.h"
#include "wizard/InstallSteps.h"
#include "wizard/Navigation.h"

void RunInstallAction(HWND form) { CarryOutPageMove(form, ExtractionDoneMove()); }
