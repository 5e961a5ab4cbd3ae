#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A resource name "#" + number stands for the integer identifier: the number, read as
// LeadingNumber reads it, is rounded (ties to even) and taken as 16 bits; text that is not a
// number reads as 0. Any other name is used as a name (no value).
std::optional<uint16_t> ResourceIdFromName(std::wstring_view name);
