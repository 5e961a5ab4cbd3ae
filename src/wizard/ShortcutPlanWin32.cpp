#include "wizard/ShortcutPlanWin32.h"

#include "support/GbkBstrWin32.h"

namespace {

// The shell object of the Windows Script Host and its IWshShell interface.
constexpr CLSID kWshShellClass = {0x72C24DD5, 0xD70A, 0x438B, {0x8A, 0x42, 0x98, 0x42, 0x4B, 0x88, 0xAF, 0xB8}};
constexpr IID kWshShellInterface = {0xF935DC21, 0x1CF0, 0x11D0, {0xAD, 0xB9, 0x00, 0xC0, 0x4F, 0xD5, 0x8A, 0x0B}};

HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANTARG* arguments, UINT count,
                   VARIANT* result) {
  DISPID member = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT found = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
  if (FAILED(found)) return found;
  DISPID propertyPut = DISPID_PROPERTYPUT;
  const bool isPut = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS parameters{arguments, isPut ? &propertyPut : nullptr, count, isPut ? 1u : 0u};
  return object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, nullptr, nullptr);
}

}  // namespace

ShortcutWriter::ShortcutWriter(const std::string& linkPath) {
  ScopedComPtr<IDispatch> shell;
  if (FAILED(CoCreateInstance(kWshShellClass, nullptr, CLSCTX_INPROC_SERVER, kWshShellInterface,
                              reinterpret_cast<void**>(shell.Out()))) ||
      !shell) {
    return;
  }
  GbkBstr path(linkPath);
  VARIANTARG argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = path.Get();
  VARIANT result;
  VariantInit(&result);
  if (SUCCEEDED(CallByName(shell.Get(), L"CreateShortcut", DISPATCH_METHOD, &argument, 1, &result)) &&
      result.vt == VT_DISPATCH) {
    *shortcut_.Out() = result.pdispVal;  // the reference the call returned is ours now
    return;
  }
  VariantClear(&result);
}

HRESULT ShortcutWriter::Put(const wchar_t* property, VARIANT& value) {
  if (!shortcut_) return E_POINTER;
  return CallByName(shortcut_.Get(), property, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

HRESULT ShortcutWriter::PutText(const wchar_t* property, const std::string& value) {
  GbkBstr text(value);
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = text.Get();
  return Put(property, argument);
}

HRESULT ShortcutWriter::PutNumber(const wchar_t* property, int32_t value) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = value;
  return Put(property, argument);
}

HRESULT ShortcutWriter::Save() {
  if (!shortcut_) return E_POINTER;
  return CallByName(shortcut_.Get(), L"Save", DISPATCH_METHOD, nullptr, 0, nullptr);
}
