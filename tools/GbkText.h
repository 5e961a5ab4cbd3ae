#pragma once
// UTF-8 (the publisher's terminal) <-> GBK (code page 936, the installer's text).

#include <optional>
#include <string>
#include <string_view>

// Empty when the text is not valid UTF-8 or has a character without a GBK form.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Bytes that are no GBK character (such as half of one cut off) come out as "?".
std::string GbkToUtf8(std::string_view gbk);
