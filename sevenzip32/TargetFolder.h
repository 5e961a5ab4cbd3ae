#pragma once
#include <string>
#include <vector>

namespace sevenzip {

// True when the last character is "\" or "/". The target folder arrives as the caller's text,
// GBK on Windows: "\" ends it only where a character starts, never as the second byte of a
// double-byte character.
bool EndsWithSeparator(const std::string& path);

// Each folder along the UTF-8 path, outermost first, ending with path itself (without the
// trailing separator), so that they can be created in turn.
std::vector<std::string> FolderTreeSteps(const std::string& path, char separator);

// Creates every missing folder along path; true when the whole path is a folder afterwards.
bool CreateFolderTree(const std::string& path);

}  // namespace sevenzip
