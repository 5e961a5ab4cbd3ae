#pragma once
// lzpack test: whether the installer will unpack a package, found out with the library's
// own reader in memory; nothing is written.

#include <filesystem>
#include <string>

struct PackageTestResult {
  std::string Error;   // why the installer would fail on it; empty when it will unpack it
  std::string Report;  // UTF-8 lines: what was decoded and with which coders
};

// The installer's road: the information block, the archive check (headers, coders, safe
// entry names in any script), then every entry decoded with its CRC checked; and the
// program file the block names is one of the entries.
PackageTestResult TestPackage(const std::filesystem::path& package);
