#pragma once

#include <string>

// The file operations the package-copy mode needs, so it runs against any file system.
class CopyFileOperations {
 public:
  virtual ~CopyFileOperations() = default;
  // The whole file, or empty text when it cannot be read.
  virtual std::string ReadWholeFile(const std::string& path) = 0;
  // Creates the file or overwrites an existing one.
  virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
};

// Writes one installer per entry of the package ID list beside the program, made by the
// template's copy rule (contracts/InstallerCopies.h) with marker as the program's own.
// Returns the number of copies written; failures are silent and skip the entry.
int WritePackageCopies(const std::string& programFolder, const std::string& programFileName, const std::string& marker,
                       CopyFileOperations& files);
