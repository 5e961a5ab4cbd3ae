#include "forms/WindowRecord.h"

#include <cstring>
#include <new>

namespace {

void ReplaceTag(HWND window, const char* property, const std::string& text) {
  if (!IsWindow(window)) return;
  delete[] static_cast<char*>(GetPropA(window, property));
  char* copy = new (std::nothrow) char[text.size() + 1];
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  SetPropA(window, property, copy);
}

void RemoveTag(HWND window, const char* property) {
  delete[] static_cast<char*>(RemovePropA(window, property));
}

}  // namespace

WindowRecord* RecordOf(HWND window) { return static_cast<WindowRecord*>(GetPropA(window, kRecordProperty)); }

WindowRecord* AttachNewRecord(HWND window) {
  WindowRecord* record = new (std::nothrow) WindowRecord{};
  if (record) SetPropA(window, kRecordProperty, record);
  return record;
}

void DetachRecord(HWND window, WindowRecord* record) {
  RemovePropA(window, kRecordProperty);
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
