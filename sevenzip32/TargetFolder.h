#pragma once
#include <string>
#include <vector>

namespace sevenzip {

// The target folder arrives as GBK text: "\" is a separator only where a character starts,
// never as the second byte of a double-byte character.

// True when the last character is "\" or "/".
bool EndsWithSeparator(const std::string& path);

// Each folder along path, outermost first, ending with path itself (without the trailing
// separator), so that they can be created in turn.
std::vector<std::string> FolderTreeSteps(const std::string& path, char separator);

// Creates every missing folder along path; true when the whole path is a folder afterwards.
bool CreateFolderTree(const std::string& path);

}  // namespace sevenzip
