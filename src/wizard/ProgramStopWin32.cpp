#include "wizard/ProgramStopWin32.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <vector>

#include "support/MessagePump.h"
#include "support/ControlHelpers.h"
#include "contracts/ControlIds.h"
#include "state/FormsState.h"
#include "state/RetrievalState.h"
#include "support/ScopedWin.h"
#include "wizard/Navigation.h"
#include "wizard/InstallSteps.h"
#include "wizard/ProgramStopRules.h"

namespace {

std::string AnsiText(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.resize(static_cast<std::size_t>(size - 1));
  return result;
}

class SystemProcessPaths : public ProcessPathReader {
 public:
  std::string ModuleFileName(uint32_t processId) override {
    const AutoCloseHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    wchar_t path[MAX_PATH] = L"";
    if (!process.IsValid() || GetModuleFileNameExW(process, nullptr, path, MAX_PATH) == 0) return {};
    return AnsiText(path);
  }

  std::string FullImageName(uint32_t processId) override {
    const AutoCloseHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (!process.IsValid() || !QueryFullProcessImageNameW(process, 0, path, &size)) return {};
    return AnsiText(path);
  }
};

std::vector<RunningProcess> RunningProcesses() {
  std::vector<RunningProcess> processes;
  const AutoCloseHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.IsValid()) return processes;
  SystemProcessPaths paths;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    processes.push_back({entry.th32ProcessID, ImagePathOf(paths, entry.th32ProcessID, entry.szExeFile)});
  }
  return processes;
}

// A process that cannot be opened for this is left alone.
void Terminate(uint32_t processId) {
  const AutoCloseHandle process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (process.IsValid()) TerminateProcess(process, 0);
}

void PauseForStoppedPrograms(HWND form, int32_t steps) {
  CarryOutPageMove(form, ProgramsStoppedMove());
  const HWND bar = ControlWindow(kProgressBarId);
  SetProgressRange(bar, 1, steps);
  // Nothing is left to wait for once Form1 has been closed meanwhile.
  for (int32_t position = 1; position <= steps && !QuitReceived(); ++position) {
    SetProgressPos(bar, position);
    WaitWithMessages(kStopPauseStepMs);
  }
}

}  // namespace

void StopProgramsInFolder(HWND form, const std::string& folder) {
  CarryOutPageMove(form, ButtonsDisabledMove());
  const std::vector<RunningProcess> toStop = ProgramsToStop(RunningProcesses(), GetCurrentProcessId(), folder);
  for (const RunningProcess& process : toStop) {
    const std::string warning = RunningProgramWarning(Package.PackageTitle, process.imagePath);
    MessageBoxA(form, warning.c_str(), kRunningProgramTitle, MB_ICONWARNING);
    Terminate(process.id);
  }
  const int32_t steps = StopPauseSteps(toStop.size());
  if (steps > 0) PauseForStoppedPrograms(form, steps);
}
