#pragma once

#include <windows.h>

#include <string>

// Form1's load step, run from its WM_CREATE after the controls exist: settles the folders,
// sets the title, loads the page pictures, then either posts the start message (normal
// mode) or writes the installer copies (template build). Returns 0.
int OnForm1Load(HWND form, LPARAM creationParameter);

// The six bytes of the program's own package marker.
std::string CurrentMarker();
