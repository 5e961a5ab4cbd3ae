#include "Harness.h"

#include "platform/GbkText.h"

bool InstallerProcess::Start(const std::string& program,
                             const std::vector<std::pair<std::string, std::string>>& overrides) {
  Terminate();
  // The child inherits this process's environment, so the overrides are set here first.
  // GBK like every path of the suites, set wide: the same under any code page.
  for (const auto& [name, value] : overrides) SetEnvironmentVariableW(WideText(name), WideText(value));
  std::wstring commandLine = L"\"" + std::wstring(WideText(program)) + L"\"";
  const std::string folder = program.substr(0, program.find_last_of('\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(WideText(program), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, WideText(folder),
                      &startup, &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  id_ = started.dwProcessId;
  return true;
}

bool InstallerProcess::IsRunning() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> InstallerProcess::WaitForExit(int milliseconds) const {
  if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) return {};
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void InstallerProcess::Terminate() {
  if (!process_) return;
  if (IsRunning()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
  id_ = 0;
}
