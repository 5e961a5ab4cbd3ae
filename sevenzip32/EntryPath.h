#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sevenzip {

// Splits an entry name at "/" and "\" into the folder and file names below the target
// folder. Nothing when the name could land outside it: absolute paths, drive letters or
// other ":" names, ".." parts (also as Windows reads "..." or ". ." by dropping trailing
// dots and blanks), or no name at all. Splitting happens on UTF-16, before the conversion
// to the ANSI code page, whose double-byte characters may contain the byte of "\".
std::optional<std::vector<std::u16string>> SafePathParts(std::u16string_view name);

}  // namespace sevenzip
