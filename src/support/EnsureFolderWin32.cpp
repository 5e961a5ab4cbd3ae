// EnsureFolder on the real file system.
#include <windows.h>

#include "platform/GbkText.h"
#include "support/EnsureFolder.h"

namespace {

class WindowsFolders : public FolderOperations {
 public:
  bool FolderExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(WideText(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  void CreateFolder(const std::string& path) override { CreateDirectoryW(WideText(path), nullptr); }
};

}  // namespace

FolderOperations& FileSystemFolders() {
  static WindowsFolders folders;
  return folders;
}

bool EnsureFolder(const std::string& path) { return EnsureFolder(path, FileSystemFolders()); }
