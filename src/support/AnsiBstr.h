#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// A BSTR holding text of the given code page in UTF-16; freed on scope exit. A BSTR ends in
// a null character, so wide calls take Get() as a plain wide string too.
class AnsiBstr {
 public:
  AnsiBstr(const std::string& text, UINT codePage);
  ~AnsiBstr();
  AnsiBstr(const AnsiBstr&) = delete;
  AnsiBstr& operator=(const AnsiBstr&) = delete;
  BSTR Get() const { return bstr_; }

 private:
  BSTR bstr_;
};

// The code page of the installer's texts and paths: the package's names and the folder typed.
inline constexpr UINT kGbkCodePage = 936;
