#pragma once

#include <windows.h>

// Next on the folder page (and on the welcome page of an extract-only package): checks the
// folder, stops programs running from it, unpacks the package and moves to the finish page.
void RunInstallAction(HWND form);
