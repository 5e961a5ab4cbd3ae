#include "LongPath.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Utf8Text.h"
#endif

namespace sevenzip {

std::u16string ExtendedLengthPath(std::u16string_view fullPath) {
  if (fullPath.starts_with(u"\\\\?\\") || fullPath.starts_with(u"\\\\.\\")) return std::u16string(fullPath);
  if (fullPath.starts_with(u"\\\\")) return u"\\\\?\\UNC\\" + std::u16string(fullPath.substr(2));
  return u"\\\\?\\" + std::u16string(fullPath);
}

#ifdef _WIN32
NativePath SystemPath(const std::string& utf8) {
  const std::u16string path = Utf8ToUtf16(utf8);
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(path.c_str());
  DWORD size = GetFullPathNameW(wide, 0, nullptr, nullptr);
  if (size == 0) return {};
  std::u16string full(size, u'\0');
  DWORD length = GetFullPathNameW(wide, size, reinterpret_cast<wchar_t*>(full.data()), nullptr);
  if (length == 0 || length >= size) return {};
  full.resize(length);
  const std::u16string extended = ExtendedLengthPath(full);
  return NativePath(extended.begin(), extended.end());
}
#else
NativePath SystemPath(const std::string& utf8) { return utf8; }
#endif

}  // namespace sevenzip
