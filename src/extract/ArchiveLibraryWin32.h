#pragma once

#include <windows.h>

#include "contracts/SevenZipInterface.h"

// 7-zip32.dll, loaded from the temporary folder at the first extraction and kept until Form1
// is destroyed, with the exports the installer calls.

struct ArchiveLibrary {
#define SEVENZIP_EXPORT_POINTER(result, name, parameters) decltype(&::name) name;
  SEVENZIP_EXPORTS(SEVENZIP_EXPORT_POINTER)
#undef SEVENZIP_EXPORT_POINTER
  // The library takes and gives UTF-8 text; else the system's ANSI code page.
  bool utf8Text;
};

// The loaded library, loading it on the first call; null when it cannot be loaded or lacks
// one of the exports.
const ArchiveLibrary* LoadArchiveLibrary();

// Unloads the library if it is loaded.
void ReleaseArchiveLibrary();

// Makes sure the publisher's 7-zip32.dll is in the run's own folder, held against writers until
// it is loaded, downloading it when missing or not signed by the publisher. Ends the program
// (exit code 0) when the download fails, the user stops it, or the download is not the
// publisher's library (it is deleted unloaded).
void ObtainArchiveLibrary();
