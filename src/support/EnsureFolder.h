#pragma once

#include <string>

// The two folder operations EnsureFolder needs, so its rules run against any file system.
class FolderOperations {
 public:
  virtual ~FolderOperations() = default;
  virtual bool FolderExists(const std::string& path) = 0;
  virtual void CreateFolder(const std::string& path) = 0;
};

// Creates every missing folder along path (GBK text, "\" separated, one trailing "\"
// allowed) and reports whether the whole path is a folder afterwards. Removes nothing.
bool EnsureFolder(const std::string& path, FolderOperations& folders);

// The real file system.
FolderOperations& FileSystemFolders();

// EnsureFolder on the real file system.
bool EnsureFolder(const std::string& path);
