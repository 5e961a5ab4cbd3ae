#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

#include "support/ScopedWin32.h"

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
