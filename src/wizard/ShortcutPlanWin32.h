#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

#include "support/ScopedWin.h"

// A BSTR holding ANSI (code page 936) text in UTF-16; freed on scope exit.
class AnsiBstr {
 public:
  explicit AnsiBstr(const std::string& text);
  ~AnsiBstr();
  AnsiBstr(const AnsiBstr&) = delete;
  AnsiBstr& operator=(const AnsiBstr&) = delete;
  BSTR Get() const { return bstr_; }

 private:
  BSTR bstr_;
};

// One desktop shortcut written through the Windows Script Host shell object, late bound
// (its interfaces are dual). COM is initialised for the writer's lifetime. Every call
// returns its HRESULT; with no shortcut object the setters return E_POINTER.
class ShortcutWriter {
 public:
  explicit ShortcutWriter(const std::string& linkPath);
  ShortcutWriter(const ShortcutWriter&) = delete;
  ShortcutWriter& operator=(const ShortcutWriter&) = delete;

  HRESULT PutText(const wchar_t* property, const std::string& value);
  HRESULT PutNumber(const wchar_t* property, int32_t value);
  HRESULT Save();

 private:
  HRESULT Put(const wchar_t* property, VARIANT& value);

  ScopedCom com_;  // declared first: the shortcut is released before COM is uninitialised
  ScopedComPtr<IDispatch> shortcut_;
};
