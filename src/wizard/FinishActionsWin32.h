#pragma once

#include <windows.h>

// Next on the finish page of an ordinary package: hides Form1, writes the desktop shortcut
// and starts the installed program as the two check boxes ask, then asks Form1 to close.
void RunFinishActions(HWND form);
