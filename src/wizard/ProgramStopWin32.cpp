#include "wizard/ProgramStopWin32.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <memory>
#include <vector>

#include "contracts/ControlIds.h"
#include "platform/GbkText.h"
#include "state/FormsStateWin32.h"
#include "state/RetrievalState.h"
#include "support/ControlHelpersWin32.h"
#include "support/MessagePumpWin32.h"
#include "support/ScopedWin32.h"
#include "wizard/InstallTexts.h"
#include "wizard/PageMoveWin32.h"
#include "wizard/ProgramStopRules.h"

namespace {

// A process held open by its handle, so that its number stays its own until the handle goes.
class SystemProcess : public HeldProcess {
 public:
  explicit SystemProcess(uint32_t id) {
    // Reading the main module needs the first rights; a protected process grants only the second.
    for (const DWORD rights :
         {PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE,
          PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, PROCESS_QUERY_LIMITED_INFORMATION}) {
      handle_.Reset(OpenProcess(rights, FALSE, id));
      if (handle_.IsValid()) return;
    }
  }

  std::string ModuleFileName() override {
    wchar_t path[MAX_PATH] = L"";
    if (!handle_.IsValid() || GetModuleFileNameExW(handle_, nullptr, path, MAX_PATH) == 0) return {};
    return GbkPathFromWide(path);
  }

  std::string FullImageName() override {
    wchar_t path[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (!handle_.IsValid() || !QueryFullProcessImageNameW(handle_, 0, path, &size)) return {};
    return GbkPathFromWide(path);
  }

  bool HasEnded() override {
    DWORD code = 0;
    return !handle_.IsValid() || !GetExitCodeProcess(handle_, &code) || code != STILL_ACTIVE;
  }

  // A process that could not be opened for this is left alone.
  void Terminate() override { TerminateProcess(handle_, 0); }

 private:
  AutoCloseHandle handle_;
};

// Every process stays held until the warnings are over.
struct ProcessList {
  std::vector<RunningProcess> entries;
  std::vector<std::unique_ptr<SystemProcess>> handles;  // beside each entry
};

ProcessList RunningProcesses() {
  ProcessList list;
  const AutoCloseHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.IsValid()) return list;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    list.handles.push_back(std::make_unique<SystemProcess>(entry.th32ProcessID));
    const std::string exeFile = GbkFromWide(entry.szExeFile).value_or("");
    list.entries.push_back({entry.th32ProcessID, ImagePathOf(*list.handles.back(), exeFile)});
  }
  return list;
}

void PauseForStoppedPrograms(HWND form, int32_t steps) {
  ShowPageMove(form, kProgramsStoppedMove);
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
  ShowPageMove(form, kButtonsDisabledMove);
  ProcessList processes = RunningProcesses();
  const std::vector<size_t> toStop = ProgramsToStop(processes.entries, GetCurrentProcessId(), folder);
  for (const size_t i : toStop) {
    const std::string warning = RunningProgramWarning(Package.PackageTitle, processes.entries[i].imagePath);
    ShowMessageBox(form, warning, kRunningProgramTitle, MB_ICONWARNING);
    StopIfStillInFolder(*processes.handles[i], folder);
  }
  const int32_t steps = StopPauseSteps(toStop.size());
  if (steps > 0) PauseForStoppedPrograms(form, steps);
}
