#pragma once
// The program runs elevated from folders that others can write (Downloads, TEMP): every DLL
// it loads itself comes from System32, and so does every DLL those load.

#include <windows.h>

// The first call of the program, before any window, GDI+, COM or rich-edit call: restricts
// the DLL search to System32 (SetDefaultDllDirectories where the system has it, else at least
// the current folder is taken out of the search).
void RestrictDllSearchToSystem32();

// The library from System32, or null; never one of that name elsewhere.
HMODULE LoadSystemLibrary(const char* name);

// A function of that library, or null.
template <typename Function>
Function SystemFunction(const char* library, const char* name) {
  const HMODULE module = LoadSystemLibrary(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
