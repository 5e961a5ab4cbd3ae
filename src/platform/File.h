#pragma once
// The file calls of all three programs, POSIX and Win32 side by side in File.cpp. Paths come
// in the form the system's calls take (each program makes it from its own text: GBK, UTF-8 or
// std::filesystem). On Windows every open, rename and delete is tried again while another
// program holds the file for a moment (HeldFileRetry.h).

#include <cstddef>
#include <cstdint>
#include <string>

#ifdef _WIN32
using PathChar = wchar_t;
#else
using PathChar = char;
#endif
using NativePath = std::basic_string<PathChar>;

// What others may do with a file while it is open for reading here.
enum class FileSharing {
  Readers,   // read only: nobody writes, renames or deletes it meanwhile
  Everyone,  // read, write and delete: a caller may hold it against writers itself
};

// One open file; closed on destruction, handed on by moving.
class File {
 public:
  File() = default;
  ~File() { Close(); }
  File(File&& other) noexcept { Swap(other); }
  File& operator=(File&& other) noexcept {
    Swap(other);
    other.Close();
    return *this;
  }

  bool OpenRead(const NativePath& path, FileSharing sharing);
  // For reading and writing, created when missing and never truncated; others may read.
  bool OpenWrite(const NativePath& path);
  // Creates the file, which must not exist yet, so that no earlier opener can reach it; while
  // it is open others may only read it, and this handle may rename or delete it.
  bool CreateNew(const NativePath& path);
  // A plain file made afresh, for this handle alone: one left read-only by an earlier run is
  // replaced too; fails where a symbolic link, junction or other reparse point stands.
  bool CreateReplacing(const NativePath& path);

  bool IsOpen() const { return handle_ != kClosed; }
  // In bytes; -1 when unknown.
  int64_t Size() const;
  // One read: how many bytes came, 0 at the end or on failure.
  size_t ReadAt(uint64_t offset, void* dest, size_t size);
  // False unless every byte could be read.
  bool ReadAllAt(uint64_t offset, void* dest, size_t size);
  bool WriteAt(uint64_t offset, const void* data, size_t size);
  // At the current position, which starts at 0.
  bool Write(const void* data, size_t size);
  bool SetModified(uint64_t fileTime);  // FILETIME: 100 ns units since 1601
  // Windows attributes in the low 16 bits; with 0x8000 set, POSIX mode bits in the high 16.
  bool SetAttributes(uint32_t attributes);

  // Through the handle, so it is this file whatever stands at its old name by now; never over
  // an existing file.
  bool RenameTo(const NativePath& path);
  // Closes the file and removes it (created by CreateNew or CreateReplacing).
  void Delete();
  // False when the system reports that written bytes did not reach the file.
  bool Close();

 private:
  void Swap(File& other) noexcept;

  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;  // HANDLE or descriptor
#ifndef _WIN32
  std::string path_;  // to rename or delete what the descriptor holds
#endif
};

bool FileExists(const NativePath& path);

// The one rule for removing a file by name: a read-only file is removed too (every file the
// programs remove by name is one they made, or a damaged or stale copy of one), and a file
// another program holds for a moment is waited for. True when no file of that name is left.
bool DeleteFileNamed(const NativePath& path);

// Never over an existing file.
bool RenameFileNamed(const NativePath& from, const NativePath& to);

// True when a folder exists at path afterwards. An archive's folders must be real folders,
// never a link or reparse point (noLink); the caller's own target folder may be a link.
bool CreateFolder(const NativePath& path, bool noLink);
