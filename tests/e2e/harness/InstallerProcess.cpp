#include "InstallerProcess.h"

#include <cstring>

namespace {

bool SameName(const std::string& entry, const std::string& name) {
  return entry.size() > name.size() && entry[name.size()] == '=' &&
         _strnicmp(entry.c_str(), name.c_str(), name.size()) == 0;
}

// The parent's variables without those overridden, then the overrides; NUL-separated.
std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& overrides) {
  std::string block;
  char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
    bool replaced = false;
    for (const auto& [name, value] : overrides) replaced = replaced || SameName(entry, name);
    if (!replaced) block.append(entry).push_back('\0');
  }
  FreeEnvironmentStringsA(strings);
  for (const auto& [name, value] : overrides) block.append(name + "=" + value).push_back('\0');
  block.push_back('\0');
  return block;
}

}  // namespace

bool InstallerProcess::Start(const std::string& program,
                             const std::vector<std::pair<std::string, std::string>>& overrides) {
  Terminate();
  std::string environment = EnvironmentBlock(overrides);
  std::string commandLine = "\"" + program + "\"";
  const std::string folder = program.substr(0, program.find_last_of('\\'));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(),
                      folder.c_str(), &startup, &started)) {
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
