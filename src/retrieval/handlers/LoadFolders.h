#pragma once

#include <string>

#include "support/EnsureFolder.h"

inline constexpr char kPreferredInstallFolder[] = "D:\\岚舟软件\\";

struct SettledFolders {
  std::string tempFolder;
  std::string installFolder;
};

// TempFolder is the TEMP value; InstallFolder is D:\岚舟软件\ when that folder exists or
// can be made, else the ProgramFiles value. Both end with "\" (unset values give "\").
SettledFolders SettleFolders(const std::string& tempValue, const std::string& programFilesValue,
                             FolderOperations& folders);
