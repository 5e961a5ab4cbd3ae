#include "support/ResourceName.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The leading decimal number of the text (sign, digits, fraction), as the C library reads it.
double LeadingNumber(std::wstring_view text) {
    std::string number;
    size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) number += static_cast<char>(text[i++]);
    while (i < text.size() && IsDigit(text[i])) number += static_cast<char>(text[i++]);
    if (i < text.size() && text[i] == L'.') {
        number += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i) number += static_cast<char>(text[i]);
    }
    // atof is strtod's value, taken from the system C library: mingw's own strtod would add
    // some 20 KB to the installer.
    return std::atof(number.c_str());
}

}  // namespace

std::optional<uint16_t> ResourceIdFromName(std::wstring_view name) {
    if (name.empty() || name.front() != L'#') return std::nullopt;
    const double value = std::nearbyint(LeadingNumber(name.substr(1)));
    if (!std::isfinite(value)) return 0;
    // Wrap like a 16-bit store; fmod keeps huge values exact instead of overflowing.
    double wrapped = std::fmod(value, 65536.0);
    if (wrapped < 0) wrapped += 65536.0;
    return static_cast<uint16_t>(wrapped);
}
