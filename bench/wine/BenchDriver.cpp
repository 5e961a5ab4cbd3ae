// Windows-side timer for bench/run-all.sh: starts a program with its own TEMP, waits for what
// the measurement needs and prints one line of figures. Paths may be given as Unix paths.
//   BenchDriver first-window PROGRAM TEMP_DIR
//       ms from start until the program shows a visible top-level window
//   BenchDriver download PROGRAM TEMP_DIR FILE_NAME
//       ms from start until FILE_NAME exists in the run's folder under TEMP_DIR, and the peak working set until then
//   BenchDriver stalled PROGRAM TEMP_DIR HOLD_MS
//       steers the test host to stall every body, starts the program, prints "window_shown"
//       once it shows a window and keeps it waiting for HOLD_MS; the caller measures its CPU
//       time from Linux (Wine reports no CPU times of other processes)
// Every wait is bounded (kTimeoutMs); the program is ended before the driver exits.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Harness.h"

namespace {

constexpr int kTimeoutMs = 120000;
// The test host keeps a stalled connection open; nothing more arrives after this many bytes.
constexpr char kStallOptions[] = "stall=65536";

double NowMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Polls every millisecond; the elapsed ms since start when condition() held, or -1.
template <typename Condition>
double MsUntil(double start, Condition condition) {
  while (NowMs() - start < kTimeoutMs) {
    if (condition()) return NowMs() - start;
    Sleep(1);
  }
  return -1;
}

bool StartWithTemp(InstallerProcess& process, const std::string& program, const std::string& temp) {
  MakeFolders(temp + "\\ProgramFiles");
  return process.Start(program, {{"TEMP", temp}, {"TMP", temp}, {"ProgramFiles", temp + "\\ProgramFiles"}});
}

SIZE_T PeakWorkingSetKib(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  const bool read = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
  if (process) CloseHandle(process);
  return read ? counters.PeakWorkingSetSize / 1024 : 0;
}

int FirstWindow(const std::string& program, const std::string& temp) {
  InstallerProcess process;
  const double start = NowMs();
  if (!StartWithTemp(process, program, temp)) return 2;
  const double ms = MsUntil(start, [&] { return FirstVisibleWindow(process.Id()) != nullptr; });
  if (ms < 0) return 1;
  std::printf("first_window_ms %.1f peak_working_set_kib %u\n", ms,
              static_cast<unsigned>(PeakWorkingSetKib(process.Id())));
  return 0;
}

int Download(const std::string& program, const std::string& temp, const std::string& fileName) {
  InstallerProcess process;
  const double start = NowMs();
  if (!StartWithTemp(process, program, temp)) return 2;
  // The run's folder is searched for until it appears, then only the file is looked at: the
  // driver's own calls take the Wine server's time from the download being measured.
  std::string file;
  const double ms = MsUntil(start, [&] {
    if (file.empty()) file = RunFileIn(temp, fileName);
    return !file.empty() && FileExists(file);
  });
  if (ms < 0) return 1;
  // The system keeps the peak itself.
  std::printf("download_ms %.1f peak_working_set_kib %u\n", ms, static_cast<unsigned>(PeakWorkingSetKib(process.Id())));
  return 0;
}

int Stalled(const std::string& program, const std::string& temp, int holdMs) {
  if (!SteerTestHost(kStallOptions)) return 2;
  InstallerProcess process;
  const double start = NowMs();
  int status = 1;
  if (StartWithTemp(process, program, temp) &&
      MsUntil(start, [&] { return FirstVisibleWindow(process.Id()) != nullptr; }) >= 0) {
    std::printf("window_shown\n");
    std::fflush(stdout);
    Sleep(holdMs);
    if (process.IsRunning()) status = 0;
  }
  process.Terminate();
  SteerTestHost("");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  auto path = [&](int i) { return WindowsPathFromUnix(argv[i]); };
  if (mode == "first-window" && argc == 4) return FirstWindow(path(2), path(3));
  if (mode == "download" && argc == 5) return Download(path(2), path(3), argv[4]);
  if (mode == "stalled" && argc == 5) return Stalled(path(2), path(3), std::atoi(argv[4]));
  std::fprintf(stderr, "usage: BenchDriver first-window|download|stalled PROGRAM TEMP_DIR ...\n");
  return 2;
}
