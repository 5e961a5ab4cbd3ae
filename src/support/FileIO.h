#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// File calls of the installer: POSIX and Win32 (ANSI names) side by side in FileIO.cpp.

bool FileExists(const std::string& path);

// Removes the file, read-only or not; true when no file of that name is left.
bool DeleteFileNamed(const std::string& path);

// The size of the file in bytes; -1 when it cannot be opened.
int64_t FileSizeOf(const std::string& path);

// Fills bytes from the file at offset; false unless every byte could be read.
bool ReadFileAt(const std::string& path, int64_t offset, std::string& bytes);

// A file opened for reading and writing, created when missing, never truncated, and written
// at explicit offsets.
class RandomAccessFile {
 public:
  RandomAccessFile() = default;
  ~RandomAccessFile() { Close(); }
  RandomAccessFile(const RandomAccessFile&) = delete;
  RandomAccessFile& operator=(const RandomAccessFile&) = delete;

  bool Open(const std::string& path);
  // Creates the file, which must not exist yet, so that no earlier opener can reach it; while
  // it is open nobody else may write, rename or delete it, and this handle may rename it.
  bool CreateKept(const std::string& path);
  // Hands the open handle (HANDLE or descriptor) to the caller, who closes it.
  intptr_t Release();
  bool IsOpen() const { return handle_ != kClosed; }
  bool WriteAt(int64_t offset, std::string_view bytes);
  void Close();

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
};
