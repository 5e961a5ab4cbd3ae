// Stands for a DLL put beside the installer or into its TEMP under a system library's name.
// Loaded, it leaves <its own path>.loaded and refuses to stay.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  wchar_t path[MAX_PATH + 8] = L"";
  if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameW(self, path, MAX_PATH) < MAX_PATH &&
      lstrcatW(path, L".loaded")) {
    CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return reason != DLL_PROCESS_ATTACH;
}
