#pragma once

#include <cstdint>
#include <string>

// The file operations the package-copy mode needs, so it runs against any file system.
class CopyFileOperations {
 public:
  virtual ~CopyFileOperations() = default;
  // The whole file, or empty text when it cannot be read.
  virtual std::string ReadWholeFile(const std::string& path) = 0;
  // Overwrites an existing destination.
  virtual bool CopyFileOver(const std::string& from, const std::string& to) = 0;
  virtual bool WriteBytesAt(const std::string& path, uint64_t offset, const std::string& bytes) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
};

// Writes one installer per entry of the package ID list beside the program, each the
// program file with marker (found at its first occurrence) replaced by the entry's own.
// Returns the number of copies written; failures are silent and skip the entry.
int WritePackageCopies(const std::string& programFolder, const std::string& programFileName,
                       const std::string& marker, CopyFileOperations& files);
