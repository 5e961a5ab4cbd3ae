#include "retrieval/package/PackageCopyWin32.h"

#include <windows.h>

#include "support/ScopedWin.h"
#include "support/GbkText.h"

namespace {

class WindowsCopyFiles : public CopyFileOperations {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    AutoCloseHandle file(CreateFileW(WideText(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.IsValid() || !GetFileSizeEx(file, &size) || size.QuadPart > 0x40000000) return {};
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) return {};
    content.resize(read);
    return content;
  }

  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    AutoCloseHandle file(
        CreateFileW(WideText(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.IsValid() && WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }

  void RemoveFile(const std::string& path) override { DeleteFileW(WideText(path)); }
};

}  // namespace

CopyFileOperations& FileSystemCopyFiles() {
  static WindowsCopyFiles files;
  return files;
}
