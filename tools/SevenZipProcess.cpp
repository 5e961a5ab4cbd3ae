#include "SevenZipProcess.h"

#include "PublisherSafety.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>

#include <string>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#endif

namespace {

constexpr uint64_t kMaxBlockKib = 64 << 10;
constexpr uint64_t kMinBlockKib = 1 << 10;

// Regular files only: lzpack refuses links before it packs.
uint64_t TreeBytes(const std::filesystem::path& folder) {
  uint64_t total = 0;
  std::error_code error;
  for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error)) total += it->file_size(error);
  }
  return total;
}

}  // namespace

std::string Lzma2BlocksSwitch(uint64_t treeBytes) {
  const uint64_t halfKib = (treeBytes + 2047) / 2048;
  const std::string size = std::to_string(std::clamp(halfKib, kMinBlockKib, kMaxBlockKib)) + "k";
  return "-m0=LZMA2:d=" + size + ":c=" + size;
}

#ifdef _WIN32

namespace {

std::wstring PathVariable() {
  const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(L"PATH", value.data(), size));
  return value;
}

}  // namespace

int RunSevenZipAdd(const std::filesystem::path& folder, const std::filesystem::path& archive) {
  // Named in full: CreateProcess would look in lzpack's own folder and the current one first.
  const std::optional<std::filesystem::path> program = FindOnPath(PathVariable(), L"7z.exe");
  if (!program) return -1;
  const std::string method = Lzma2BlocksSwitch(TreeBytes(folder));
  std::wstring command = L"7z.exe a -t7z " + std::wstring(method.begin(), method.end()) + L" -bso0 -bsp0 -y -- \"" +
                         archive.wstring() + L"\" *";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program->c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

#else

namespace {

// Exit code of a child that could not run 7z, as a shell reports it.
constexpr int kNotStarted = 127;

}  // namespace

int RunSevenZipAdd(const std::filesystem::path& folder, const std::filesystem::path& archive) {
  // Found before the child enters the packed folder, where a relative PATH entry would point.
  const char* pathValue = std::getenv("PATH");
  const std::optional<std::filesystem::path> program = FindOnPath(pathValue ? pathValue : "", "7z");
  if (!program) return -1;
  const std::string method = Lzma2BlocksSwitch(TreeBytes(folder));
  const char* arguments[] = {"7z", "a",    "-t7z", method.c_str(), "-bso0", "-bsp0", "-y", "--", archive.c_str(),
                             "*",  nullptr};
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    // No prompt can wait for an answer.
    int input = open("/dev/null", O_RDONLY);
    if (input >= 0) dup2(input, STDIN_FILENO);
    if (chdir(folder.c_str()) == 0) execv(program->c_str(), const_cast<char* const*>(arguments));
    _exit(kNotStarted);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (!WIFEXITED(status)) return -1;
  return WEXITSTATUS(status) == kNotStarted ? -1 : WEXITSTATUS(status);
}

#endif
