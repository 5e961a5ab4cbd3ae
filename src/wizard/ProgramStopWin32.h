#pragma once

#include <windows.h>

#include <string>

// Warns about every program running from the folder (which ends with "\"), never the
// installer itself, and after each warning terminates it through the handle held since the
// list was made, if it still runs from there; after stopping any, shows the extraction page for a pause of
// about five seconds so they let go of their files. Leaves Next, Cancel, Back and Browse
// disabled.
void StopProgramsInFolder(HWND form, const std::string& folder);
