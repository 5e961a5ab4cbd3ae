#pragma once

#include <windows.h>

#include "contracts/SevenZipInterface.h"

// 7-zip32.dll, loaded from the temporary folder at the first extraction and kept until Form1
// is destroyed, with the exports the installer calls.

struct ArchiveLibrary {
  int(WINAPI* SevenZip)(HWND window, LPCSTR commandLine, LPSTR output, DWORD outputSize);
  BOOL(WINAPI* SevenZipCheckArchive)(LPCSTR archivePath, int mode);
  BOOL(WINAPI* SevenZipGetBackGroundMode)();
  BOOL(WINAPI* SevenZipSetBackGroundMode)(BOOL mode);
  BOOL(WINAPI* SevenZipSetCursorMode)(BOOL mode);
  BOOL(WINAPI* SevenZipSetOwnerWindowEx)(HWND window, SevenZipCallback callback);
  // The library takes and gives UTF-8 text; else the system's ANSI code page.
  bool utf8Text;
};

// The loaded library, loading it on the first call; null when it cannot be loaded or lacks
// one of the exports.
const ArchiveLibrary* LoadArchiveLibrary();

// Unloads the library if it is loaded.
void ReleaseArchiveLibrary();
