#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ArchiveModel.h"

namespace sevenzip {

// Splits an entry name at "/" and "\" into the folder and file names below the target
// folder, skipping "." parts as archivers in the tar tradition write them ("./a", and "."
// for the folder packed, which yields no parts: the target folder itself). Nothing when the
// name could land outside the target folder or on a device: absolute paths, drive letters or
// other ":" names, ".." parts (also as Windows reads "..." or ". ." by dropping trailing dots
// and blanks), device names such as CON, NUL or COM1 (with any extension), or no name at all.
std::optional<std::vector<std::u16string>> SafePathParts(std::u16string_view name);

// The name 7z gives entries stored without one: the archive's file name without its extension.
std::u16string UnnamedEntryName(std::string_view archivePath);

// Where an entry goes below the target folder: UTF-8 parts joined by separator, the last
// dots and blanks of each part dropped where names are Windows names (as Windows' own
// short paths drop them). Empty for a folder entry naming the target folder itself; nothing
// for an unsafe name, and for a file that would have to be the target folder.
std::optional<std::string> EntryRelativePath(const Entry& entry, std::u16string_view unnamed, char separator,
                                             bool windowsNames);

}  // namespace sevenzip
