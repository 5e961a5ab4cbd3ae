#pragma once

#include <string>
#include <string_view>

// Folder texts are GBK: a lead byte 0x81-0xFE takes the next byte with it, and that second
// byte may be 0x5C. Looking at the last byte alone would take such a character for "\".

// True when the last character of the text is a single-byte "\".
bool EndsWithBackslash(std::string_view text);

// The text with "\" appended unless its last character already is one.
std::string WithTrailingBackslash(std::string_view text);
