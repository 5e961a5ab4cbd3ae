#include "EntryPath.h"

namespace sevenzip {
namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool OnlyDotsAndBlanks(std::u16string_view part) {
    for (char16_t c : part)
        if (c != u'.' && c != u' ') return false;
    return true;
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
        if (part.find(u':') != part.npos || part.find(u'\0') != part.npos || OnlyDotsAndBlanks(part))
            return std::nullopt;
        parts.emplace_back(part);
    }
    if (parts.empty()) return std::nullopt;
    return parts;
}

}  // namespace sevenzip
