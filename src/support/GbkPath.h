#pragma once

#include <string>
#include <string_view>
#include <vector>

// Path helpers that read GBK text character by character: the second byte of a
// double-byte character may be 0x5C, which is not a "\" there.

// True when the last character (not merely the last byte) is "\".
bool EndsWithBackslash(std::string_view path);

// The path with "\" appended unless its last character already is one.
std::string WithTrailingBackslash(std::string_view path);

// Pieces between the "\" characters; an empty path gives one empty piece.
std::vector<std::string> SplitPathPieces(const std::string& path);

// ASCII a-z of single-byte characters become A-Z; double-byte characters stay whole, so a
// second byte in 0x61-0x7A is not a letter and two different characters never become alike.
std::string UpperAsciiLetters(std::string_view text);
std::string LowerAsciiLetters(std::string_view text);

// Byte offset just after the last ":", "/" or "\" character; 0 when there is none.
std::string::size_type AfterLastSeparator(const std::string& path);
