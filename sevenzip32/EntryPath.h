#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sevenzip {

// Splits an entry name at "/" and "\" into the folder and file names below the target
// folder. Nothing when the name could land outside it or on a device: absolute paths, drive
// letters or other ":" names, ".." parts (also as Windows reads "..." or ". ." by dropping
// trailing dots and blanks), device names such as CON, NUL or COM1 (with any extension), or
// no name at all. Splitting happens on UTF-16, before the conversion to the ANSI code page,
// whose double-byte characters may contain the byte of "\".
std::optional<std::vector<std::u16string>> SafePathParts(std::u16string_view name);

// The same parts in the system's text. Nothing when a part has no exact form there, or when
// the converted part (read as GBK on Windows) is no longer a plain name.
std::optional<std::vector<std::string>> SystemPathParts(std::u16string_view name);

}  // namespace sevenzip
