#include "EntryPath.h"

#include "platform/Utf8Text.h"

namespace sevenzip {
namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool OnlyDotsAndBlanks(std::u16string_view part) {
  for (char16_t c : part)
    if (c != '.' && c != ' ') return false;
  return true;
}

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; }

// Windows opens a device for these names whatever follows the first dot, and ignores blanks
// before that dot: "con", "NUL.txt", "Com1 .log" and "CON." are all devices.
bool IsDeviceName(std::u16string_view part) {
  std::u16string base;
  for (char16_t c : part.substr(0, part.find(u'.'))) base += UpperAscii(c);
  while (!base.empty() && base.back() == u' ') base.pop_back();
  static const std::u16string_view kDevices[] = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
  for (auto device : kDevices)
    if (base == device) return true;
  if (base.size() != 4 || (base.compare(0, 3, u"COM") != 0 && base.compare(0, 3, u"LPT") != 0)) return false;
  char16_t n = base[3];
  // Superscript digits count too, as "COM¹".
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
    if (part.find(u':') != part.npos || part.find(u'\0') != part.npos || OnlyDotsAndBlanks(part) || IsDeviceName(part))
      return std::nullopt;
    parts.emplace_back(part);
  }
  return parts;
}

std::u16string UnnamedEntryName(std::string_view archivePath) {
  std::string_view name = archivePath.substr(archivePath.find_last_of("/\\") + 1);
  size_t dot = name.rfind('.');
  if (dot != name.npos && dot > 0) name = name.substr(0, dot);
  return Utf8ToUtf16(name);
}

std::optional<std::string> EntryRelativePath(const Entry& entry, std::u16string_view unnamed, char separator,
                                             bool windowsNames) {
  auto parts = SafePathParts(entry.name.empty() ? unnamed : std::u16string_view(entry.name));
  if (!parts || (parts->empty() && !entry.isDirectory)) return std::nullopt;
  std::string path;
  for (std::u16string_view part : *parts) {
    if (windowsNames) part = part.substr(0, part.find_last_not_of(u". ") + 1);
    if (!path.empty()) path += separator;
    path += Utf16ToUtf8(part);
  }
  return path;
}

}  // namespace sevenzip
