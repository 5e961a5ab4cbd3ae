// Stands for an installed program. Writes its working folder and its parameter string, one
// per line, to launched.txt beside itself; started without parameters, as a game left
// running in a folder, it then runs until it is stopped.
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
  std::fclose(out);
  if (!*parameters) Sleep(INFINITE);
  return 0;
}
