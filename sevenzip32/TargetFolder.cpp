#include "TargetFolder.h"

#include "LongPath.h"
#include "platform/File.h"

namespace sevenzip {

bool EndsWithSeparator(const std::string& utf8Path) {
  return !utf8Path.empty() && (utf8Path.back() == '/' || utf8Path.back() == '\\');
}

std::vector<std::string> FolderTreeSteps(const std::string& path, char separator) {
  std::vector<std::string> steps;
  for (size_t end = 0; end <= path.size(); ++end)
    if ((end == path.size() || path[end] == separator) && end > 0 && path[end - 1] != separator)
      steps.push_back(path.substr(0, end));
  return steps;
}

bool CreateFolderTree(const std::string& path) {
  std::vector<std::string> steps = FolderTreeSteps(path, kPathSeparator);
  for (const std::string& step : steps) CreateFolder(SystemPath(step), false);  // outer ones may exist or be drives
  return !steps.empty() && CreateFolder(SystemPath(steps.back()), false);
}

}  // namespace sevenzip
