#include "CallerText.h"

#ifdef _WIN32
#include <windows.h>

#include <atomic>

#include "platform/Utf8Text.h"
#endif

namespace sevenzip {

#ifdef _WIN32

namespace {

// Set by the caller, read on its calls; atomic should a caller use two threads.
std::atomic<bool> gUtf8CallerText{false};

}  // namespace

void UseUtf8CallerText(bool on) { gUtf8CallerText = on; }

std::string FromCallerText(std::string_view text) {
  if (text.empty() || text.size() > 0x10000) return {};
  if (gUtf8CallerText) return std::string(text);
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::u16string wide(size_t(size), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), reinterpret_cast<wchar_t*>(wide.data()), size);
  return Utf16ToUtf8(wide);
}

std::string ToCallerText(std::string_view utf8) {
  if (gUtf8CallerText) return std::string(utf8);
  const std::u16string wide = Utf8ToUtf16(utf8);
  if (wide.empty() || wide.size() > 0x10000) return {};
  const wchar_t* text = reinterpret_cast<const wchar_t*>(wide.c_str());
  // No WC_NO_BEST_FIT_CHARS: the system's nearest look-alike, else its default character.
  int size = WideCharToMultiByte(CP_ACP, 0, text, int(wide.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string narrow(size_t(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, int(wide.size()), narrow.data(), size, nullptr, nullptr);
  return narrow;
}

#else

void UseUtf8CallerText(bool) {}

std::string FromCallerText(std::string_view text) { return std::string(text); }

std::string ToCallerText(std::string_view utf8) { return std::string(utf8); }

#endif

}  // namespace sevenzip
