#include "retrieval/package/PackageCopyWin32.h"

#include <windows.h>

#include "support/ScopedWin.h"

namespace {

class WindowsCopyFiles : public CopyFileOperations {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    AutoCloseHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.IsValid() || !GetFileSizeEx(file, &size) || size.QuadPart > 0x40000000) return {};
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) return {};
    content.resize(read);
    return content;
  }

  bool CopyFileOver(const std::string& from, const std::string& to) override {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
  }

  bool WriteBytesAt(const std::string& path, uint64_t offset, const std::string& bytes) override {
    AutoCloseHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    return file.IsValid() && SetFilePointerEx(file, position, nullptr, FILE_BEGIN) &&
           WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }

  void RemoveFile(const std::string& path) override { DeleteFileA(path.c_str()); }
};

}  // namespace

CopyFileOperations& FileSystemCopyFiles() {
  static WindowsCopyFiles files;
  return files;
}
