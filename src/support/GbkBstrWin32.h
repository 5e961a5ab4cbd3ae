#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// A BSTR holding the installer's GBK text (a package's names, a folder) in UTF-16, whatever
// the system's code page; freed on scope exit. A BSTR ends in a null character, so wide calls
// take Get() as a plain wide string too.
class GbkBstr {
 public:
  explicit GbkBstr(const std::string& text);
  ~GbkBstr();
  GbkBstr(const GbkBstr&) = delete;
  GbkBstr& operator=(const GbkBstr&) = delete;
  BSTR Get() const { return bstr_; }

 private:
  BSTR bstr_;
};
