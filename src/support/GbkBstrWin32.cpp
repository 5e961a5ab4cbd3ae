#include "support/GbkBstrWin32.h"

#include "platform/GbkText.h"

GbkBstr::GbkBstr(const std::string& text) {
  const WideText wide(text);
  bstr_ = SysAllocStringLen(wide, static_cast<UINT>(wide.Length()));
}

GbkBstr::~GbkBstr() {
  if (bstr_) SysFreeString(bstr_);
}
