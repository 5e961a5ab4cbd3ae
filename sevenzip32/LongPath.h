#pragma once
// The library's paths are UTF-8; the file calls (platform/File.h) take them in the system's
// form, on Windows through the wide calls in the "\\?\" form, so that every name an archive
// holds and every path length NTFS takes are written exactly.
#include <string>
#include <string_view>

#include "platform/File.h"

namespace sevenzip {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
constexpr bool kWindowsNames = true;
#else
constexpr char kPathSeparator = '/';
constexpr bool kWindowsNames = false;
#endif

// Windows' wide file calls take a path longer than MAX_PATH only in the "\\?\" form, which
// they use as given: fullPath must already be absolute and normalized ("\" only, no "." or
// ".." parts). Drive paths gain "\\?\", "\\server\share" paths become "\\?\UNC\server\share";
// paths already in a device form stay as they are.
std::u16string ExtendedLengthPath(std::u16string_view fullPath);

// The path as the file calls take it: on Windows absolute, normalized and in the "\\?\" form;
// empty when the system cannot make one.
NativePath SystemPath(const std::string& utf8);

}  // namespace sevenzip
