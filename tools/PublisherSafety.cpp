#include "PublisherSafety.h"

#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = ';';

bool IsLink(const fs::directory_entry& entry) {
  const DWORD attributes = GetFileAttributesW(entry.path().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
#else
constexpr char kPathSeparator = ':';

bool IsLink(const fs::directory_entry& entry) {
  std::error_code error;
  return entry.is_symlink(error);
}
#endif

}  // namespace

std::optional<fs::path> FindOnPath(const fs::path::string_type& pathValue, const fs::path& name) {
  for (std::size_t start = 0; start <= pathValue.size();) {
    std::size_t end = pathValue.find(static_cast<fs::path::value_type>(kPathSeparator), start);
    if (end == fs::path::string_type::npos) end = pathValue.size();
    const fs::path folder = pathValue.substr(start, end - start);
    start = end + 1;
    if (!folder.is_absolute()) continue;
    std::error_code error;
    if (fs::is_regular_file(folder / name, error)) return folder / name;
  }
  return std::nullopt;
}

std::optional<fs::path> FindLinkInFolder(const fs::path& folder) {
  std::error_code error;
  // Links are reported, never followed.
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (IsLink(*it)) return it->path();
  }
  return std::nullopt;
}

bool OthersMayRead(const fs::path& file) {
#ifdef _WIN32
  (void)file;
  return false;
#else
  std::error_code error;
  const fs::perms perms = fs::status(file, error).permissions();
  return !error && (perms & (fs::perms::group_read | fs::perms::others_read)) != fs::perms::none;
#endif
}
