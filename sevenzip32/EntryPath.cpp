#include "EntryPath.h"

#include "FileIO.h"
#include "support/GbkPath.h"

namespace sevenzip {
namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

template <typename Char>
bool OnlyDotsAndBlanks(std::basic_string_view<Char> part) {
    for (Char c : part)
        if (c != '.' && c != ' ') return false;
    return true;
}

template <typename Char>
char16_t UpperAscii(Char c) {
    return c >= 'a' && c <= 'z' ? char16_t(c - 'a' + 'A') : char16_t(static_cast<std::make_unsigned_t<Char>>(c));
}

// Windows opens a device for these names whatever follows the first dot, and ignores blanks
// before that dot: "con", "NUL.txt", "Com1 .log" and "CON." are all devices.
template <typename Char>
bool IsDeviceName(std::basic_string_view<Char> part) {
    std::u16string base;
    for (Char c : part.substr(0, part.find(Char('.')))) base += UpperAscii(c);
    while (!base.empty() && base.back() == u' ') base.pop_back();
    static const std::u16string_view kDevices[] = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
    for (auto device : kDevices)
        if (base == device) return true;
    if (base.size() != 4 || (base.compare(0, 3, u"COM") != 0 && base.compare(0, 3, u"LPT") != 0)) return false;
    char16_t n = base[3];
    // Superscript digits count too, as "COM¹"; in GBK they are not single bytes, so only
    // the UTF-16 check sees them.
    return (n >= u'0' && n <= u'9') || n == u'\u00B9' || n == u'\u00B2' || n == u'\u00B3';
}

}  // namespace

std::optional<std::vector<std::u16string>> SafePathParts(std::u16string_view name) {
    if (name.empty() || IsSeparator(name[0])) return std::nullopt;
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) ++end;
        std::u16string_view part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == u".") continue;
        if (part.find(u':') != part.npos || part.find(u'\0') != part.npos || OnlyDotsAndBlanks(part) ||
            IsDeviceName(part))
            return std::nullopt;
        parts.emplace_back(part);
    }
    if (parts.empty()) return std::nullopt;
    return parts;
}

std::optional<std::vector<std::string>> SystemPathParts(std::u16string_view name) {
    auto parts = SafePathParts(name);
    if (!parts) return std::nullopt;
    std::vector<std::string> converted;
    for (const auto& part : *parts) {
        auto text = ToSystemText(part);
        // A converted part must still be one plain name: no "\", "/" or ":" character in it.
        if (!text || text->empty() || AfterLastSeparator(*text) != 0 || text->find('\0') != text->npos ||
            OnlyDotsAndBlanks(std::string_view(*text)) || IsDeviceName(std::string_view(*text)))
            return std::nullopt;
        converted.push_back(std::move(*text));
    }
    return converted;
}

}  // namespace sevenzip
