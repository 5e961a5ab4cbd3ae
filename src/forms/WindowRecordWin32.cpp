#include "forms/WindowRecordWin32.h"

#include <cstring>
#include <new>

namespace {

void ReplaceTag(HWND window, const wchar_t* property, const std::string& text) {
  if (!IsWindow(window)) return;
  delete[] static_cast<char*>(GetPropW(window, property));
  char* copy = new (std::nothrow) char[text.size() + 1];
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  SetPropW(window, property, copy);
}

void RemoveTag(HWND window, const wchar_t* property) { delete[] static_cast<char*>(RemovePropW(window, property)); }

}  // namespace

WindowRecord* RecordOf(HWND window) { return static_cast<WindowRecord*>(GetPropW(window, kRecordProperty)); }

WindowRecord* AttachNewRecord(HWND window) {
  WindowRecord* record = new (std::nothrow) WindowRecord{};
  if (record) SetPropW(window, kRecordProperty, record);
  return record;
}

void DetachRecord(HWND window, WindowRecord* record) {
  RemovePropW(window, kRecordProperty);
  delete record;
}

void ReleaseBackgroundBrush(WindowRecord& record) {
  if (record.backgroundBrush && !record.backgroundIsSystem) DeleteObject(record.backgroundBrush);
  record.backgroundBrush = nullptr;
}

void SetControlTag(HWND window, const std::string& text) { ReplaceTag(window, kTagProperty, text); }

void SetSecondControlTag(HWND window, const std::string& text) { ReplaceTag(window, kSecondTagProperty, text); }

void RemoveControlTags(HWND window) {
  RemoveTag(window, kTagProperty);
  RemoveTag(window, kSecondTagProperty);
}
