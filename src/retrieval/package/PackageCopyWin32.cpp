#include "retrieval/package/PackageCopyWin32.h"

#include "platform/File.h"
#include "platform/GbkText.h"

namespace {

class WindowsCopyFiles : public CopyFileOperations {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    File file;
    if (!file.OpenRead(PathFromGbk(path), FileSharing::Everyone)) return {};
    const int64_t size = file.Size();
    if (size < 0 || size > 0x40000000) return {};
    std::string content(static_cast<std::size_t>(size), '\0');
    if (!file.ReadAllAt(0, content.data(), content.size())) return {};
    return content;
  }

  // A copy of an earlier run, or a link in its place, is removed and made anew.
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    const NativePath name = PathFromGbk(path);
    File file;
    return DeleteFileNamed(name) && file.CreateNew(name) && file.Write(bytes.data(), bytes.size()) && file.Close();
  }

  void RemoveFile(const std::string& path) override { DeleteFileNamed(PathFromGbk(path)); }
};

}  // namespace

CopyFileOperations& FileSystemCopyFiles() {
  static WindowsCopyFiles files;
  return files;
}
