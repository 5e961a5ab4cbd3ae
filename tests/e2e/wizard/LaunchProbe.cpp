// Started by the finish page: writes its working folder and its parameter string, one per
// line, to launched.txt beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR parameters, int) {
  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string report(program);
  report.resize(report.find_last_of('\\') + 1);
  report += "launched.txt";
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, folder);
  FILE* out = std::fopen(report.c_str(), "wb");
  if (!out) return 1;
  std::fprintf(out, "%s\n%s\n", folder, parameters);
  std::fclose(out);
  return 0;
}
