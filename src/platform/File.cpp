#include "platform/File.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/HeldFileRetry.h"
#else
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

void File::Swap(File& other) noexcept {
  std::swap(handle_, other.handle_);
#ifndef _WIN32
  std::swap(path_, other.path_);
#endif
}

bool File::ReadAllAt(uint64_t offset, void* dest, size_t size) {
  auto* bytes = static_cast<uint8_t*>(dest);
  for (size_t done = 0; done < size;) {
    const size_t read = ReadAt(offset + done, bytes + done, size - done);
    if (read == 0) return false;
    done += read;
  }
  return true;
}

#ifdef _WIN32

namespace {

HANDLE Handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A call that fails while another program holds the file, tried again meanwhile.
template <typename Call>
bool WhenFree(Call call) {
  return RetryWhileHeld([&] { return call() ? FileAnswer::Done : AnswerForError(GetLastError()); });
}

HANDLE OpenWhenFree(const NativePath& path, DWORD access, DWORD sharing, DWORD disposition, DWORD flags) {
  HANDLE file = INVALID_HANDLE_VALUE;
  WhenFree([&] {
    file = CreateFileW(path.c_str(), access, sharing, nullptr, disposition, flags, nullptr);
    return file != INVALID_HANDLE_VALUE;
  });
  return file;
}

// The OVERLAPPED offset says where a read or write goes on a synchronous handle.
OVERLAPPED At(uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

DWORD Chunk(size_t size) { return size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size); }

}  // namespace

bool File::OpenRead(const NativePath& path, FileSharing sharing) {
  Close();
  const DWORD share =
      sharing == FileSharing::Readers ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  handle_ = reinterpret_cast<intptr_t>(
      OpenWhenFree(path, GENERIC_READ, share, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN));
  return IsOpen();
}

bool File::OpenWrite(const NativePath& path) {
  Close();
  handle_ = reinterpret_cast<intptr_t>(
      OpenWhenFree(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  return IsOpen();
}

bool File::CreateNew(const NativePath& path) {
  Close();
  handle_ = reinterpret_cast<intptr_t>(
      OpenWhenFree(path, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
  return IsOpen();
}

bool File::CreateReplacing(const NativePath& path) {
  Close();
  const DWORD existing = GetFileAttributesW(path.c_str());
  if (IsLink(existing)) return false;
  // The reparse point itself, should one appear at the name after the look above.
  const DWORD access = GENERIC_WRITE | DELETE;
  const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
  HANDLE file = INVALID_HANDLE_VALUE;
  WhenFree([&] {
    file = CreateFileW(path.c_str(), access, 0, nullptr, CREATE_ALWAYS, flags, nullptr);
    // A read-only, hidden or system file from an earlier run refuses CREATE_ALWAYS.
    if (file == INVALID_HANDLE_VALUE && existing != INVALID_FILE_ATTRIBUTES &&
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL))
      file = CreateFileW(path.c_str(), access, 0, nullptr, CREATE_ALWAYS, flags, nullptr);
    return file != INVALID_HANDLE_VALUE;
  });
  handle_ = reinterpret_cast<intptr_t>(file);
  BY_HANDLE_FILE_INFORMATION info;
  if (IsOpen() && (!GetFileInformationByHandle(file, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)))
    Close();
  return IsOpen();
}

int64_t File::Size() const {
  LARGE_INTEGER size;
  return GetFileSizeEx(Handle(handle_), &size) ? size.QuadPart : -1;
}

size_t File::ReadAt(uint64_t offset, void* dest, size_t size) {
  OVERLAPPED at = At(offset);
  DWORD read = 0;
  return ReadFile(Handle(handle_), dest, Chunk(size), &read, &at) ? read : 0;
}

bool File::WriteAt(uint64_t offset, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    OVERLAPPED at = At(offset);
    DWORD written = 0;
    if (!WriteFile(Handle(handle_), bytes, Chunk(size), &written, &at) || written == 0) return false;
    bytes += written;
    offset += written;
    size -= written;
  }
  return true;
}

bool File::Write(const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(Handle(handle_), bytes, Chunk(size), &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

bool File::SetModified(uint64_t fileTime) {
  const FILETIME time = {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
  return SetFileTime(Handle(handle_), nullptr, nullptr, &time);
}

bool File::SetAttributes(uint32_t attributes) {
  const DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  FILE_BASIC_INFO info = {};  // times of 0 stay as they are
  info.FileAttributes = attributes & kKept ? attributes & kKept : FILE_ATTRIBUTE_NORMAL;
  return SetFileInformationByHandle(Handle(handle_), FileBasicInfo, &info, sizeof info);
}

bool File::RenameTo(const NativePath& path) {
  if (path.empty()) return false;
  const size_t nameBytes = path.size() * sizeof(wchar_t);
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(info->FileName, path.data(), nameBytes);
  return WhenFree([&] {
    return SetFileInformationByHandle(Handle(handle_), FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
  });
}

void File::Delete() {
  if (!IsOpen()) return;
  FILE_DISPOSITION_INFO dispose = {TRUE};
  SetFileInformationByHandle(Handle(handle_), FileDispositionInfo, &dispose, sizeof dispose);
  Close();
}

bool File::Close() {
  if (!IsOpen()) return true;
  const bool closed = CloseHandle(Handle(handle_));
  handle_ = kClosed;
  return closed;
}

bool FileExists(const NativePath& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileNamed(const NativePath& path) {
  // DeleteFile refuses read-only files.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return RetryWhileHeld([&] {
    if (DeleteFileW(path.c_str())) return FileAnswer::Done;
    const DWORD error = GetLastError();
    return FileExists(path) ? AnswerForError(error) : FileAnswer::Done;
  });
}

bool RenameFileNamed(const NativePath& from, const NativePath& to) {
  return WhenFree([&] { return MoveFileW(from.c_str(), to.c_str()); });
}

bool CreateFolder(const NativePath& path, bool noLink) {
  CreateDirectoryW(path.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(noLink && IsLink(attributes));
}

#else

namespace {

bool OpenDescriptor(const std::string& path, int flags, intptr_t& handle, std::string& kept) {
  const int file = open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (file < 0) return false;
  handle = file;
  kept = path;
  return true;
}

// True when the name still leads to the file the descriptor holds.
bool NameHolds(int file, const std::string& path) {
  struct stat mine, there;
  return fstat(file, &mine) == 0 && lstat(path.c_str(), &there) == 0 && mine.st_dev == there.st_dev &&
         mine.st_ino == there.st_ino;
}

}  // namespace

bool File::OpenRead(const NativePath& path, FileSharing) {
  Close();
  struct stat info;
  if (OpenDescriptor(path, O_RDONLY, handle_, path_) && (fstat(int(handle_), &info) != 0 || !S_ISREG(info.st_mode)))
    Close();
  return IsOpen();
}

bool File::OpenWrite(const NativePath& path) {
  Close();
  return OpenDescriptor(path, O_RDWR | O_CREAT, handle_, path_);
}

bool File::CreateNew(const NativePath& path) {
  Close();
  return OpenDescriptor(path, O_RDWR | O_CREAT | O_EXCL, handle_, path_);
}

bool File::CreateReplacing(const NativePath& path) {
  Close();
  // O_NONBLOCK: a FIFO at the name fails at once instead of waiting for a reader.
  const int kFlags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK;
  struct stat info;
  if (!OpenDescriptor(path, kFlags, handle_, path_) && errno == EACCES && lstat(path.c_str(), &info) == 0 &&
      S_ISREG(info.st_mode) && unlink(path.c_str()) == 0)
    OpenDescriptor(path, kFlags | O_EXCL, handle_, path_);  // a read-only file from an earlier run
  if (IsOpen() && (fstat(int(handle_), &info) != 0 || !S_ISREG(info.st_mode))) Close();
  return IsOpen();
}

int64_t File::Size() const {
  struct stat info;
  return fstat(int(handle_), &info) == 0 ? info.st_size : -1;
}

size_t File::ReadAt(uint64_t offset, void* dest, size_t size) {
  ssize_t read;
  do read = pread(int(handle_), dest, size, off_t(offset));
  while (read < 0 && errno == EINTR);
  return read > 0 ? size_t(read) : 0;
}

bool File::WriteAt(uint64_t offset, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t written = pwrite(int(handle_), bytes, size, off_t(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    offset += uint64_t(written);
    size -= size_t(written);
  }
  return true;
}

bool File::Write(const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t written = write(int(handle_), bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= size_t(written);
  }
  return true;
}

bool File::SetModified(uint64_t fileTime) {
  // FILETIME counts from 1601; Unix time from 1970, 11644473600 seconds later.
  const uint64_t kUnixEpoch = 116444736000000000ull;
  if (fileTime < kUnixEpoch) return false;
  const uint64_t since = fileTime - kUnixEpoch;
  struct timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = time_t(since / 10000000);
  times[1].tv_nsec = long(since % 10000000 * 100);
  return futimens(int(handle_), times) == 0;
}

bool File::SetAttributes(uint32_t attributes) {
  const uint32_t kUnixExtension = 0x8000;
  if (!(attributes & kUnixExtension)) return true;
  return fchmod(int(handle_), mode_t(attributes >> 16 & 07777)) == 0;
}

bool File::RenameTo(const NativePath& path) {
  if (!IsOpen() || !NameHolds(int(handle_), path_) || !RenameFileNamed(path_, path)) return false;
  path_ = path;
  return true;
}

void File::Delete() {
  if (IsOpen() && NameHolds(int(handle_), path_)) unlink(path_.c_str());
  Close();
}

bool File::Close() {
  if (!IsOpen()) return true;
  const bool closed = close(int(handle_)) == 0;
  handle_ = kClosed;
  return closed;
}

bool FileExists(const NativePath& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DeleteFileNamed(const NativePath& path) { return unlink(path.c_str()) == 0 || errno == ENOENT; }

bool RenameFileNamed(const NativePath& from, const NativePath& to) {
  return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

bool CreateFolder(const NativePath& path, bool noLink) {
  mkdir(path.c_str(), 0777);
  struct stat info;
  return (noLink ? lstat(path.c_str(), &info) : stat(path.c_str(), &info)) == 0 && S_ISDIR(info.st_mode);
}

#endif
