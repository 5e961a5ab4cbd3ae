// Unpacks a 7z archive through 7-zip32.dll's exports, as the installer calls them, and prints
// the time of the SevenZip call alone (Wine's start-up is not the library's):
//   extract-dll-driver DLL ARCHIVE TARGET_FOLDER     (Unix paths, seen through drive Z:)
// Prints "extract_ms N"; exits with the call's result. RunExtractBench.sh times it against 7z.
#include <windows.h>

#include <cstdio>
#include <string>

#include "contracts/SevenZipInterface.h"

namespace {

std::string WindowsPath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// Goes on, as the installer's callback does when nobody cancels.
BOOL WINAPI GoOn(HWND, UINT, UINT, LPVOID) { return TRUE; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: extract-dll-driver DLL ARCHIVE TARGET_FOLDER\n");
    return 2;
  }
  HMODULE library = LoadLibraryA(WindowsPath(argv[1]).c_str());
  auto* sevenZip = reinterpret_cast<decltype(&SevenZip)>(
      reinterpret_cast<void*>(library ? GetProcAddress(library, "SevenZip") : nullptr));
  auto* setOwner = reinterpret_cast<decltype(&SevenZipSetOwnerWindowEx)>(
      reinterpret_cast<void*>(library ? GetProcAddress(library, "SevenZipSetOwnerWindowEx") : nullptr));
  if (!sevenZip || !setOwner) {
    std::fprintf(stderr, "extract-dll-driver: cannot load %s\n", argv[1]);
    return 2;
  }
  setOwner(nullptr, GoOn);
  std::string target = WindowsPath(argv[3]);
  if (target.back() != '\\') target += '\\';
  const std::string command = "x \"" + WindowsPath(argv[2]) + "\" -hide -y \"" + target + "\" *";

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const int result = sevenZip(nullptr, command.c_str(), nullptr, 0);
  QueryPerformanceCounter(&end);
  std::printf("extract_ms %.1f\n", 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  if (result != 0) std::fprintf(stderr, "extract-dll-driver: SevenZip returned %d\n", result);
  return result;
}
