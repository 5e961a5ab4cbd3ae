#pragma once
// The package values that become parts of paths stay names: the title (the proposed folder's
// last name and the shortcut's name), the program file (a relative path of names joined by
// "\") and, for an extract-only package, the description (the folder it is unpacked into).
// A block is written by whoever made the file, and the installer runs elevated.

#include <optional>
#include <string>
#include <string_view>

#include "contracts/PackageInfo.h"

// Why a GBK text is not a plain file or folder name, or nothing when it is one: it must be
// non-empty, hold no control character and none of \ / : * ? " < > |, not be "." or "..",
// not end in "." or a blank, not be a device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9,
// with or without an extension), and end in a whole character.
std::optional<std::string> NameFault(std::string_view name);

struct PackageValueFault {
  std::string PackageInfo::*Value;
  std::string Reason;
};

// The first value of the block that is not what it must be, or nothing when all are fine.
std::optional<PackageValueFault> FindPackageValueFault(const PackageInfo& info);
