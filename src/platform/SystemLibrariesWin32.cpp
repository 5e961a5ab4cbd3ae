#include "platform/SystemLibrariesWin32.h"

#include <cstring>

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
  if (!gSearchRestricted) SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const char* name) {
  wchar_t path[MAX_PATH];
  std::size_t length = 0;
  if (!gSearchRestricted) {
    length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path[length++] = L'\\';
  }
  const std::size_t nameLength = std::strlen(name);
  if (length + nameLength >= MAX_PATH) return nullptr;
  // Library names are ASCII.
  for (std::size_t i = 0; i <= nameLength; ++i) path[length + i] = static_cast<unsigned char>(name[i]);
  // Without the restriction the library's own folder comes first for what it loads in turn.
  return LoadLibraryExW(path, nullptr,
                        gSearchRestricted ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH);
}
