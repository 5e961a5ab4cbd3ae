// Stands for an installed program. Writes its working folder, its parameter string and the id
// of the process that started it, one per line, to launched.txt beside itself; started without
// parameters, as a game left running in a folder, it then runs until it is stopped. The texts
// are read wide and written in GBK, as the suites compare them, under any code page.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Gbk(const wchar_t* text) {
  char gbk[4 * MAX_PATH] = "";
  WideCharToMultiByte(936, 0, text, -1, gbk, sizeof gbk, nullptr, nullptr);
  return gbk;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR parameters, int) {
  wchar_t report[MAX_PATH] = L"", folder[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, report, MAX_PATH);
  std::wcscpy(std::wcsrchr(report, L'\\') + 1, L"launched.txt");
  GetCurrentDirectoryW(MAX_PATH, folder);
  DWORD parent = 0;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  CloseHandle(snapshot);
  FILE* out = _wfopen(report, L"wb");
  if (!out) return 1;
  std::fprintf(out, "%s\n%s\n%lu\n", Gbk(folder).c_str(), Gbk(parameters).c_str(), static_cast<unsigned long>(parent));
  std::fclose(out);
  if (!*parameters) Sleep(INFINITE);
  return 0;
}
