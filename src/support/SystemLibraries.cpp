#include "support/SystemLibraries.h"

#include <string>

namespace {

// Set once, by the first call of the program, before any other thread exists.
bool gSearchRestricted = false;

}  // namespace

void RestrictDllSearchToSystem32() {
  using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
  // Windows 7 has it only with an update: looked up, not imported.
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  gSearchRestricted = setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!gSearchRestricted) SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const char* name) {
  if (gSearchRestricted) return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  // The library's own folder comes first for what it loads in turn.
  return LoadLibraryExA((std::string(folder, length) + "\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
