#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

// What 7-zip32.dll and the installer agree on: the progress record its callback receives,
// the callback's states, and the callback's type.

// Callers copy the first 1080 bytes, so the record is at least that long; only the three
// leading fields carry data.
struct SevenZipProgressRecord {
  uint32_t entrySize;     // clamped to 32 bits
  uint32_t bytesWritten;  // clamped to 32 bits
  char entryName[513];    // zero-terminated, ANSI (UTF-8 in the library's UTF-8 mode)
  char reserved[1080 - 8 - 513];
};
static_assert(offsetof(SevenZipProgressRecord, bytesWritten) == 4);
static_assert(offsetof(SevenZipProgressRecord, entryName) == 8);
static_assert(sizeof(SevenZipProgressRecord) == 1080);

// Callback states: an entry begins, an entry is being written, the library waits for a file
// another program holds (the callback only answers whether to go on).
inline constexpr unsigned kSevenZipEntryStart = 0;
inline constexpr unsigned kSevenZipEntryWriting = 1;
inline constexpr unsigned kSevenZipWaitingForFile = 2;

#ifdef _WIN32
// Called with WM_NULL; FALSE makes the library stop.
using SevenZipCallback = BOOL(WINAPI*)(HWND window, UINT message, UINT state, LPVOID record);

// The library's exports, one line each: the library defines them (exported by plain name), the
// installer looks each one up and takes its pointer type from the declaration.
#define SEVENZIP_EXPORTS(X)                                                           \
  X(int, SevenZip, (HWND window, LPCSTR commandLine, LPSTR output, DWORD outputSize)) \
  X(BOOL, SevenZipCheckArchive, (LPCSTR archivePath, int mode))                       \
  X(BOOL, SevenZipGetBackGroundMode, ())                                              \
  X(BOOL, SevenZipSetBackGroundMode, (BOOL mode))                                     \
  X(BOOL, SevenZipSetCursorMode, (BOOL mode))                                         \
  X(BOOL, SevenZipSetOwnerWindowEx, (HWND window, SevenZipCallback callback))

// Set to __declspec(dllexport) where the library is built.
#ifndef SEVENZIP_EXPORT
#define SEVENZIP_EXPORT
#endif
#define SEVENZIP_DECLARE_EXPORT(result, name, parameters) SEVENZIP_EXPORT result WINAPI name parameters;
extern "C" {
SEVENZIP_EXPORTS(SEVENZIP_DECLARE_EXPORT)
}
#undef SEVENZIP_DECLARE_EXPORT

// Our own export, looked up by name since other libraries of this interface lack it: TRUE
// makes every text of the interface UTF-8 for the calling process (command line, paths, the
// progress record's name), FALSE the ANSI code page again.
extern "C" SEVENZIP_EXPORT BOOL WINAPI SevenZipSetUtf8Mode(BOOL on);
inline constexpr char kSevenZipUtf8ModeExport[] = "SevenZipSetUtf8Mode";
using SevenZipSetUtf8ModeCall = decltype(&::SevenZipSetUtf8Mode);
#endif
