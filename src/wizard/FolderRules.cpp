#include "wizard/FolderRules.h"

#include "platform/AsciiText.h"
#include "support/GbkPath.h"

namespace {

// One spelling per folder: runs of "\" become one, "." pieces go and ".." takes the piece
// before it (never the first, the drive). So "D:\\", "D:\." and "D:\x\.." all name the
// drive's root, "D:\", and a folder compares alike with the paths of running programs.
std::string NormalisedPath(std::string_view text) {
  const std::vector<std::string> pieces = SplitPathPieces(std::string(text));
  std::vector<std::string_view> kept;
  for (size_t i = 1; i < pieces.size(); ++i) {
    if (pieces[i].empty() || pieces[i] == ".") continue;
    if (pieces[i] == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(pieces[i]);
  }
  std::string path = pieces.front();
  if (pieces.size() > 1 && kept.empty()) path += '\\';
  for (const std::string_view piece : kept) path.append("\\").append(piece);
  return path;
}

}  // namespace

FolderCheck CheckTargetFolder(std::string_view editText) {
  const std::string folder = NormalisedPath(TrimBlanks(editText));
  if (folder.size() < 4) {
    const bool bareDrive = folder.size() >= 2 && folder[1] == ':';
    return {bareDrive ? FolderVerdict::BareDrive : FolderVerdict::PathError, {}};
  }
  if (folder.compare(1, 2, ":\\") != 0) return {FolderVerdict::PathError, {}};
  return {FolderVerdict::Accepted, WithTrailingBackslash(folder)};
}

const char* FolderCheckMessage(FolderVerdict verdict) {
  switch (verdict) {
    case FolderVerdict::BareDrive: return kMustUseFolderMessage;
    case FolderVerdict::PathError: return kFolderPathErrorMessage;
    case FolderVerdict::Accepted: break;
  }
  return nullptr;
}
