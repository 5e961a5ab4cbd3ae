#include "wizard/InstallAction.h"

// Unpacking arrives with the archive library; until then Next on the folder page stays put.
void RunInstallAction(HWND) {}
