#pragma once
#include <string>
#include <vector>

namespace sevenzip {

// True when the UTF-8 path ends with "\" or "/". UTF-8, not the caller's text: in a double-byte
// code page "\" can be the second byte of a character, in UTF-8 never.
bool EndsWithSeparator(const std::string& utf8Path);

// Each folder along the UTF-8 path, outermost first, ending with path itself (without the
// trailing separator), so that they can be created in turn.
std::vector<std::string> FolderTreeSteps(const std::string& path, char separator);

// Creates every missing folder along path; true when the whole path is a folder afterwards.
bool CreateFolderTree(const std::string& path);

}  // namespace sevenzip
