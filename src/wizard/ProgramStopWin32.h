#pragma once

#include <windows.h>

#include <string>

// Warns about and terminates every program running from the folder (which ends with "\"),
// never the installer itself; after stopping any, shows the extraction page for a pause of
// about five seconds so they let go of their files. Leaves Next, Cancel, Back and Browse
// disabled.
void StopProgramsInFolder(HWND form, const std::string& folder);
