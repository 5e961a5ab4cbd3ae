#pragma once

#include <windows.h>

#include <string>

// One installer per package at a time in a session: people start an installer again when
// nothing seems to happen for a moment, and two runs of one package would fetch, unpack and
// stop programs against each other.

// Claims the package for this run with a named object in the session's namespace that carries
// Form1's handle. False when another installer of the package holds it: its window is then
// brought to the front.
bool ClaimPackageRun(const std::string& packageName, HWND form);
