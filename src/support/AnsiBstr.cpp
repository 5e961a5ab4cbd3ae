#include "support/AnsiBstr.h"

AnsiBstr::AnsiBstr(const std::string& text, UINT codePage) {
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, MB_PRECOMPOSED, text.data(), size, nullptr, 0);
  bstr_ = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (bstr_ && length > 0) MultiByteToWideChar(codePage, MB_PRECOMPOSED, text.data(), size, bstr_, length);
}

AnsiBstr::~AnsiBstr() {
  if (bstr_) SysFreeString(bstr_);
}
