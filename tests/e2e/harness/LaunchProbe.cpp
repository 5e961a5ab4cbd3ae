// Stands for an installed program. Writes its working folder, its parameter string and the id
// of the process that started it, one per line, to launched.txt beside itself; started without
// parameters, as a game left running in a folder, it then runs until it is stopped.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR parameters, int) {
  char report[MAX_PATH] = "", folder[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, report, MAX_PATH);
  std::strcpy(std::strrchr(report, '\\') + 1, "launched.txt");
  GetCurrentDirectoryA(MAX_PATH, folder);
  DWORD parent = 0;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  CloseHandle(snapshot);
  FILE* out = std::fopen(report, "wb");
  if (!out) return 1;
  std::fprintf(out, "%s\n%s\n%lu\n", folder, parameters, static_cast<unsigned long>(parent));
  std::fclose(out);
  if (!*parameters) Sleep(INFINITE);
  return 0;
}
