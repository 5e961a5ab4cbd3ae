#pragma once
// Text to and from the caller of the library's exports: the ANSI code page on Windows unless
// the caller asked for UTF-8, UTF-8 elsewhere. The library itself keeps every text in UTF-8.
#include <string>
#include <string_view>

namespace sevenzip {

// On the way out in the ANSI code page a character without a form there becomes the system's
// best fit or "?", as Windows programs show names they cannot spell.
std::string FromCallerText(std::string_view text);
std::string ToCallerText(std::string_view utf8);

// From now on every text of the interface is UTF-8 for the whole process (on) or the ANSI
// code page again (off): command lines, paths and the progress record's name.
void UseUtf8CallerText(bool on);

}  // namespace sevenzip
