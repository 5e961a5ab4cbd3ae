// Started by the finish page: writes its working folder and its parameter string, one per
// line, to launched.txt beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR parameters, int) {
  char report[MAX_PATH] = "", folder[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, report, MAX_PATH);
  std::strcpy(std::strrchr(report, '\\') + 1, "launched.txt");
  GetCurrentDirectoryA(MAX_PATH, folder);
  FILE* out = std::fopen(report, "wb");
  if (!out) return 1;
  std::fprintf(out, "%s\n%s\n", folder, parameters);
  return std::fclose(out);
}
