#include "GbkText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

#ifdef _WIN32

namespace {

constexpr UINT kGbkCodePage = 936;

std::wstring Widen(UINT codePage, DWORD flags, std::string_view text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  std::wstring wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
  if (wide.empty()) {
    if (utf8.empty()) return std::string();
    return std::nullopt;
  }
  BOOL usedDefault = FALSE;
  int length = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string gbk(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), gbk.data(),
                      length, nullptr, nullptr);
  return gbk;
}

std::string GbkToUtf8(std::string_view gbk) {
  std::wstring wide = Widen(kGbkCodePage, 0, gbk);
  if (wide.empty()) return {};
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
  return utf8;
}

#else

namespace {

// The same conversion the compiler applies to the installer's literals.
constexpr const char* kGbkCharset = "GBK";

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of text; a byte that cannot be converted is replaced by the replacement,
  // or ends the conversion with no result when there is none.
  std::optional<std::string> Convert(std::string_view text, std::optional<char> replacement) {
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
      ++in;
      --inLeft;
    }
    return out;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  return Converter(kGbkCharset, "UTF-8").Convert(utf8, std::nullopt);
}

std::string GbkToUtf8(std::string_view gbk) {
  return Converter("UTF-8", kGbkCharset).Convert(gbk, '?').value_or(std::string());
}

#endif
