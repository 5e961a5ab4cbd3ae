#include "support/FileIO.h"

#ifdef _WIN32
#include <windows.h>

#include "support/HeldFileRetry.h"
#include "support/GbkText.h"
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32
bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideText(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// CreateFileA, tried again while another program holds the file.
HANDLE OpenWhenFree(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
  HANDLE file = INVALID_HANDLE_VALUE;
  RetryWhileHeld([&] {
    file = CreateFileW(WideText(path), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE ? FileAnswer::Done : AnswerForError(GetLastError());
  });
  return file;
}

}  // namespace

bool DeleteFileNamed(const std::string& path) {
  // DeleteFile refuses read-only files.
  SetFileAttributesW(WideText(path), FILE_ATTRIBUTE_NORMAL);
  return RetryWhileHeld([&] {
    if (DeleteFileW(WideText(path))) return FileAnswer::Done;
    const DWORD error = GetLastError();
    return FileExists(path) ? AnswerForError(error) : FileAnswer::Done;
  });
}

int64_t FileSizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WideText(path), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return -1;
  }
  return static_cast<int64_t>(static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
}

bool ReadFileAt(const std::string& path, int64_t offset, std::string& bytes) {
  // Files the installer keeps open for itself share deletion only with their readers.
  const HANDLE file =
      OpenWhenFree(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    OVERLAPPED at{};
    const uint64_t position = static_cast<uint64_t>(offset) + done;
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD read = 0;
    if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, &at) || read == 0) break;
    done += read;
  }
  CloseHandle(file);
  return done == bytes.size();
}

bool RandomAccessFile::Open(const std::string& path) {
  Close();
  const HANDLE file = OpenWhenFree(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(file);
  return true;
}

bool RandomAccessFile::CreateKept(const std::string& path) {
  Close();
  const HANDLE file = OpenWhenFree(path, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, CREATE_NEW);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(file);
  return true;
}

bool RandomAccessFile::WriteAt(int64_t offset, std::string_view bytes) {
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  while (!bytes.empty()) {
    // On a synchronous handle the OVERLAPPED offset says where the write goes.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at) || written == 0) return false;
    bytes.remove_prefix(written);
    offset += written;
  }
  return true;
}

void RandomAccessFile::Close() {
  if (!IsOpen()) return;
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kClosed;
}
#else
bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DeleteFileNamed(const std::string& path) { return unlink(path.c_str()) == 0 || errno == ENOENT; }

int64_t FileSizeOf(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return info.st_size;
}

bool ReadFileAt(const std::string& path, int64_t offset, std::string& bytes) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t read = pread(file, bytes.data() + done, bytes.size() - done, offset + static_cast<int64_t>(done));
    if (read < 0 && errno == EINTR) continue;
    if (read <= 0) break;
    done += static_cast<size_t>(read);
  }
  close(file);
  return done == bytes.size();
}

bool RandomAccessFile::Open(const std::string& path) {
  Close();
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (file < 0) return false;
  handle_ = file;
  return true;
}

bool RandomAccessFile::CreateKept(const std::string& path) {
  Close();
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (file < 0) return false;
  handle_ = file;
  return true;
}

bool RandomAccessFile::WriteAt(int64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = pwrite(static_cast<int>(handle_), bytes.data(), bytes.size(), offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
    offset += written;
  }
  return true;
}

void RandomAccessFile::Close() {
  if (!IsOpen()) return;
  close(static_cast<int>(handle_));
  handle_ = kClosed;
}
#endif

intptr_t RandomAccessFile::Release() {
  const intptr_t handle = handle_;
  handle_ = kClosed;
  return handle;
}
