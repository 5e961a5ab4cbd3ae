#pragma once
// What lzpack checks on the publisher's machine before it runs a program or reads a folder
// or key: nothing planted in the packed folder or the current folder may take part.

#include <filesystem>
#include <optional>

// The first file named name in an absolute folder of the PATH value (separator ':' natively,
// ';' on Windows). Relative entries, the empty one included, would mean the current folder:
// lzpack runs 7z from inside the packed folder, so they are skipped.
std::optional<std::filesystem::path> FindOnPath(const std::filesystem::path::string_type& pathValue,
                                                const std::filesystem::path& name);

// The first symbolic link, junction or other reparse point below folder, or nothing: 7z
// would pack what it points to, from anywhere on the machine.
std::optional<std::filesystem::path> FindLinkInFolder(const std::filesystem::path& folder);

// True when users other than the owner may read the file (group or others bits). On Windows
// its access list is not read, and this is false.
bool OthersMayRead(const std::filesystem::path& file);
