#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A program under test, started as a child with environment variables of the test's
// choosing. Whatever is still running is terminated when the object goes.
class InstallerProcess {
 public:
  InstallerProcess() = default;
  InstallerProcess(const InstallerProcess&) = delete;
  InstallerProcess& operator=(const InstallerProcess&) = delete;
  ~InstallerProcess() { Terminate(); }

  // Starts program in its own folder with the parent's environment plus overrides
  // (name, value), which replace variables of the same name.
  bool Start(const std::string& program, const std::vector<std::pair<std::string, std::string>>& overrides);

  DWORD Id() const { return id_; }
  bool IsRunning() const;

  // The exit code once the process has ended within milliseconds, else nothing.
  std::optional<DWORD> WaitForExit(int milliseconds) const;

  void Terminate();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};
