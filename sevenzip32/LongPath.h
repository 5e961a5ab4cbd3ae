#pragma once
#include <string>
#include <string_view>

namespace sevenzip {

// Windows' wide file calls take a path longer than MAX_PATH only in the "\\?\" form, which
// they use as given: fullPath must already be absolute and normalized ("\" only, no "." or
// ".." parts). Drive paths gain "\\?\", "\\server\share" paths become "\\?\UNC\server\share";
// paths already in a device form stay as they are.
std::u16string ExtendedLengthPath(std::u16string_view fullPath);

}  // namespace sevenzip
