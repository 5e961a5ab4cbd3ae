#pragma once

#include <string>

// Every run keeps its downloads (the package and 7-zip32.dll) in a folder of its own that it
// makes new under TEMP and removes at its end: nothing another program or an earlier run left
// in TEMP is read or loaded, and installers of different packages never share a file.

// Makes tempFolder + "lzin-" + 32 random hex digits + "\"; when the program runs elevated,
// only administrators and SYSTEM may write into it. Empty text when no folder could be made.
std::string MakeRunFolder(const std::string& tempFolder);

// Lets go of the checked package and library and deletes RunFolder with everything in it.
void RemoveRunFolder();

// RemoveRunFolder, then the process ends with exit code 0.
[[noreturn]] void EndProgramNow();
