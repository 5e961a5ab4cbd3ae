#pragma once
// The program's texts are GBK (code page 936) whatever the system's code page; they meet
// Windows' wide calls (UTF-16) and the publisher's terminal (UTF-8) only through these.

#include <optional>
#include <string>
#include <string_view>

#include "platform/File.h"

// Bytes that are no GBK character (such as half of one cut off) come out as U+FFFD.
std::u16string Utf16FromGbk(std::string_view gbk);

// Empty when a character has no GBK form.
std::optional<std::string> GbkFromUtf16(std::u16string_view text);

// Empty when the text is not valid UTF-8 or has a character without a GBK form.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Bytes that are no GBK character come out as "?".
std::string GbkToUtf8(std::string_view gbk);

// The GBK form of a name to show: a character without one becomes the nearest look-alike or
// "?", as Windows programs show names they cannot spell.
std::string GbkShownFromUtf8(std::string_view utf8);

// A GBK path as the file calls take it: UTF-16 on Windows, the bytes themselves elsewhere.
NativePath PathFromGbk(std::string_view gbk);

#ifdef _WIN32
// GBK text as Windows' wide calls take it, alive to the end of the statement that makes it:
// SetWindowTextW(window, WideText(text)). Made and freed out of line: the installer makes
// one at every call that carries text or a path, and its size is bounded.
class WideText {
 public:
  explicit WideText(std::string_view gbk);
  ~WideText();
  WideText(const WideText&) = delete;
  WideText& operator=(const WideText&) = delete;
  operator const wchar_t*() const { return text_.c_str(); }
  int Length() const { return static_cast<int>(text_.size()); }

 private:
  std::wstring text_;
};

// GbkFromUtf16 for Windows' wide text.
std::optional<std::string> GbkFromWide(std::wstring_view text);

// GbkShownFromUtf8 for Windows' wide text.
std::string GbkShownFromWide(std::wstring_view text);

// A path that Windows gave in UTF-16, in GBK: where a name has no GBK form, the short (8.3)
// name Windows keeps for it, which is ASCII; empty when there is none.
std::string GbkPathFromWide(const wchar_t* path);
#endif
