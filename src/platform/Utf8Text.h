#pragma once
#include <string>
#include <string_view>

// UTF-16 (as 7z stores names) to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16; bytes that are no UTF-8 become U+FFFD each.
std::u16string Utf8ToUtf16(std::string_view text);

// The longest start of text of at most maxBytes bytes that ends between characters.
std::string_view Utf8Prefix(std::string_view text, size_t maxBytes);
