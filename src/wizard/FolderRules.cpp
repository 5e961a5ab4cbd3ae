#include "wizard/FolderRules.h"

#include "support/AsciiText.h"
#include "support/GbkPath.h"

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
