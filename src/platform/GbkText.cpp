#include "platform/GbkText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

#ifdef _WIN32

namespace {

constexpr UINT kGbkCodePage = 936;

// std::wstring, as the rest of the installer uses: one set of string code in the program.
std::wstring Widen(UINT codePage, DWORD flags, std::string_view text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// Empty when strict and a character has no form in the code page.
std::optional<std::string> Narrow(UINT codePage, bool strict, std::wstring_view text) {
  if (text.empty()) return std::string();
  const wchar_t* wide = text.data();
  const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL usedDefault = FALSE;
  BOOL* check = strict ? &usedDefault : nullptr;
  int length = WideCharToMultiByte(codePage, flags, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, check);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide, static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::u16string Utf16FromGbk(std::string_view gbk) {
  const std::wstring wide = Widen(kGbkCodePage, 0, gbk);
  return std::u16string(wide.begin(), wide.end());
}

std::optional<std::string> GbkFromWide(std::wstring_view text) { return Narrow(kGbkCodePage, true, text); }

std::string GbkShownFromWide(std::wstring_view text) { return Narrow(kGbkCodePage, false, text).value_or(""); }

std::optional<std::string> GbkFromUtf16(std::u16string_view text) {
  return GbkFromWide(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  const std::wstring wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
  if (wide.empty() && !utf8.empty()) return std::nullopt;
  return Narrow(kGbkCodePage, true, wide);
}

std::string GbkToUtf8(std::string_view gbk) { return Narrow(CP_UTF8, false, Widen(kGbkCodePage, 0, gbk)).value_or(""); }

std::string GbkShownFromUtf8(std::string_view utf8) {
  return Narrow(kGbkCodePage, false, Widen(CP_UTF8, 0, utf8)).value_or("");
}

NativePath PathFromGbk(std::string_view gbk) { return Widen(kGbkCodePage, 0, gbk); }

WideText::WideText(std::string_view gbk) : text_(Widen(kGbkCodePage, 0, gbk)) {}

WideText::~WideText() = default;

std::string GbkPathFromWide(const wchar_t* path) {
  if (auto gbk = Narrow(kGbkCodePage, true, path)) return *gbk;
  wchar_t shortPath[MAX_PATH];
  const DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return Narrow(kGbkCodePage, true, shortPath).value_or("");
}

#else

namespace {

// The same conversion the compiler applies to the installer's literals.
constexpr const char* kGbkCharset = "GBK";
constexpr const char* kUtf16Charset = "UTF-16LE";

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of text; an input unit that cannot be converted is replaced by the
  // replacement, or ends the conversion with no result when there is none.
  std::optional<std::string> Convert(std::string_view text, std::optional<std::string_view> replacement,
                                     std::size_t unit = 1) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t result = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      if (!replacement) return std::nullopt;
      out += *replacement;
      const std::size_t skip = inLeft < unit ? inLeft : unit;
      in += skip;
      inLeft -= skip;
    }
    return out;
  }

 private:
  iconv_t handle_;
};

constexpr char kReplacementUtf16[] = {'\xFD', '\xFF'};

}  // namespace

NativePath PathFromGbk(std::string_view gbk) { return NativePath(gbk); }

std::u16string Utf16FromGbk(std::string_view gbk) {
  const std::string bytes = Converter(kUtf16Charset, kGbkCharset)
                                .Convert(gbk, std::string_view(kReplacementUtf16, 2))
                                .value_or(std::string());
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return text;
}

std::optional<std::string> GbkFromUtf16(std::u16string_view text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return Converter(kGbkCharset, kUtf16Charset).Convert(bytes, std::nullopt);
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  return Converter(kGbkCharset, "UTF-8").Convert(utf8, std::nullopt);
}

std::string GbkToUtf8(std::string_view gbk) {
  return Converter("UTF-8", kGbkCharset).Convert(gbk, "?").value_or(std::string());
}

std::string GbkShownFromUtf8(std::string_view utf8) {
  return Converter("GBK//TRANSLIT", "UTF-8").Convert(utf8, "?").value_or(std::string());
}

#endif
