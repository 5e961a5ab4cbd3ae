#include "wizard/FolderRules.h"

#include "support/GbkPath.h"

namespace {

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

FolderCheck CheckTargetFolder(std::string_view editText) {
  const std::string_view folder = TrimBlanks(editText);
  if (folder.size() < 4) {
    const bool bareDrive = folder.size() >= 2 && folder[1] == ':';
    return {bareDrive ? FolderVerdict::BareDrive : FolderVerdict::PathError, {}};
  }
  if (folder.substr(1, 2) != ":\\") return {FolderVerdict::PathError, {}};
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
