#include "support/EnsureFolder.h"

#include <vector>

#include "support/GbkPath.h"

namespace {

std::string WithoutTrailingBackslash(const std::string& path) {
  return EndsWithBackslash(path) ? path.substr(0, path.size() - 1) : path;
}

}  // namespace

bool EnsureFolder(const std::string& path, FolderOperations& folders) {
  const std::string whole = WithoutTrailingBackslash(path);
  const std::vector<std::string> pieces = SplitPathPieces(whole);

  // The root is never created: a drive such as "D:", or "\\server\share" for a network
  // path, whose empty leading pieces would otherwise make "\server" on the current drive.
  std::string folder = pieces[0];
  std::size_t next = 1;
  if (whole.rfind("\\\\", 0) == 0 && pieces.size() >= 4) {
    folder = "\\\\" + pieces[2] + "\\" + pieces[3];
    next = 4;
  }
  for (; next < pieces.size(); ++next) {
    if (pieces[next].empty()) continue;
    folder += "\\" + pieces[next];
    if (!folders.FolderExists(folder)) folders.CreateFolder(folder);
  }
  return folders.FolderExists(folder);
}
