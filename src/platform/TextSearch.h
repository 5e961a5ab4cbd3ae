#pragma once

#include <string>
#include <string_view>

// Case-sensitive extraction from byte texts; both give empty text when the key is absent.

// The bytes between the first `key` and the next `terminator` after it.
std::string TextBetween(std::string_view text, std::string_view key, std::string_view terminator);

// Everything after the first `delimiter`.
std::string TextAfter(std::string_view text, std::string_view delimiter);
