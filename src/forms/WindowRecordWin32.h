#pragma once

#include <windows.h>

#include <string>

// The engine's per-window record, attached to Form1 and each control as a window property.
struct WindowRecord {
  WNDPROC previousProcedure;  // a control's procedure before subclassing
  HWND window;                // the control (0 in a form's record)
  HWND owner;                 // disabled while a form's modal loop runs (none for Form1)
  int32_t isForm;             // -1 for a form
  int32_t inModalLoop;        // -1 while RunModalLoop runs for the form
  HFONT font;                 // owned, deleted with the control
  HACCEL accelerators;
  UINT_PTR timer;
  int32_t index;   // passed to click handlers
  HWND lastFocus;  // a form's most recently focused control
  int32_t selectAllOnFocus;
  int32_t coloursOn;
  int32_t foregroundIsSystem;  // foreground is a GetSysColor index
  int32_t backgroundIsSystem;  // background is a GetSysColor index
  HBRUSH backgroundBrush;
  COLORREF foreground;
  COLORREF background;
};

inline constexpr wchar_t kRecordProperty[] = L"ZEL_PTR";
inline constexpr wchar_t kTagProperty[] = L"ZEL_TAGPROPERTY";
inline constexpr wchar_t kSecondTagProperty[] = L"ZEL_TAGPROPERTY2";

// The window's record, or null.
WindowRecord* RecordOf(HWND window);

// A new zero-filled record attached to window, or null when memory is exhausted.
WindowRecord* AttachNewRecord(HWND window);

// Frees the record and removes its property.
void DetachRecord(HWND window, WindowRecord* record);

// Deletes the record's background brush unless it is a system colour brush.
void ReleaseBackgroundBrush(WindowRecord& record);

// Free tag texts kept as heap copies under the two tag properties.
void SetControlTag(HWND window, const std::string& text);
void SetSecondControlTag(HWND window, const std::string& text);
void RemoveControlTags(HWND window);
