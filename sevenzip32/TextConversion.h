#pragma once
#include <string>
#include <string_view>

namespace sevenzip {

// UTF-16 (as 7z stores names) to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace sevenzip
