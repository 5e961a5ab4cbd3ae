#include "Utf8Arguments.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

std::vector<std::string> Utf8Arguments(int, char**) {
  // argv holds the ANSI code page; the wide command line holds every character.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), length, nullptr, nullptr);
    arguments.push_back(std::move(utf8));
  }
  LocalFree(wide);
  return arguments;
}

void UseUtf8Console() { SetConsoleOutputCP(CP_UTF8); }

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

void UseUtf8Console() {}

#endif
