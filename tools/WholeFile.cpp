#include "WholeFile.h"

#include "platform/File.h"

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  File in;
  if (!in.OpenRead(file.native(), FileSharing::Readers)) return std::nullopt;
  const int64_t size = in.Size();
  if (size < 0 || static_cast<uint64_t>(size) > SIZE_MAX) return std::nullopt;
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!in.ReadAllAt(0, bytes.data(), bytes.size())) return std::nullopt;
  return bytes;
}

bool ReplaceWholeFile(const std::filesystem::path& file, const std::string& bytes) {
  std::filesystem::path partial = file;
  partial += ".partial";
  File out;
  bool written = out.CreateReplacing(partial.native()) && out.Write(bytes.data(), bytes.size());
  written = out.Close() && written;
  std::error_code error;
  // Over an earlier file of that name, which the rename replaces in one step.
  if (written) std::filesystem::rename(partial, file, error);
  if (!written || error) {
    DeleteFileNamed(partial.native());
    return false;
  }
  return true;
}
