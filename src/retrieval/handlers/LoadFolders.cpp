#include "retrieval/handlers/LoadFolders.h"

#include "support/GbkPath.h"

SettledFolders SettleFolders(const std::string& tempValue, const std::string& programFilesValue,
                             FolderOperations& folders) {
  const std::string install =
      EnsureFolder(kPreferredInstallFolder, folders) ? kPreferredInstallFolder : programFilesValue;
  return {WithTrailingBackslash(tempValue), WithTrailingBackslash(install)};
}
