#include "forms/Form1ControlsWin32.h"

#include <commctrl.h>

#include "platform/GbkText.h"
#include "state/AppStateWin32.h"
#include "state/FormsStateWin32.h"
#include "support/DpiScale.h"
#include "support/FontSpecWin32.h"

static_assert(kForm1Style == (WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
static_assert(kForm1ExStyle == (WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | WS_EX_TOPMOST));
static_assert(kHintLabelStyle == (WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SS_NOTIFY));
static_assert(kCheckBoxStyle == (WS_CHILD | WS_TABSTOP | BS_NOTIFY | BS_VCENTER | BS_LEFT | BS_AUTOCHECKBOX));
static_assert(kHiddenButtonStyle == (WS_CHILD | WS_TABSTOP | BS_NOTIFY | BS_VCENTER | BS_CENTER | BS_PUSHBUTTON));
static_assert(kGroupBoxStyle == (WS_CHILD | BS_NOTIFY | BS_LEFT | BS_GROUPBOX));
static_assert(kEditStyle == (WS_CHILD | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL));
static_assert(kProgressStyle == (WS_CHILD | PBS_SMOOTH));
static_assert(kVisibleButtonStyle == (kHiddenButtonStyle | WS_VISIBLE));
static_assert(kExTransparent == WS_EX_TRANSPARENT && kExClientEdge == WS_EX_CLIENTEDGE);

namespace {

void ApplyInitialState(HWND control, InitialState state) {
  switch (state) {
    case InitialState::None: break;
    case InitialState::Checked: SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0); break;
    case InitialState::UnlimitedText:
      SendMessageW(control, EM_LIMITTEXT, 0, 0);
      SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
      break;
    case InitialState::ProgressAt80:
      SendMessageW(control, PBM_SETRANGE32, 1, 100);
      SendMessageW(control, PBM_SETPOS, 80, 0);
      break;
  }
}

void SetRecordColours(WindowRecord& record, ControlColours colours) {
  if (colours == ControlColours::Off) return;
  record.coloursOn = -1;
  record.foregroundIsSystem = -1;
  record.backgroundIsSystem = -1;
  record.foreground = COLOR_WINDOWTEXT;
  record.background = colours == ControlColours::TextOnWindow ? COLOR_WINDOW : COLOR_BTNFACE;
  record.backgroundBrush = GetSysColorBrush(static_cast<int>(record.background));
}

}  // namespace

void CreateForm1Controls(HWND form) {
  for (const ControlRow& row : kForm1Controls) {
    const HWND control = CreateWindowExW(
        row.exStyle, WideText(row.windowClass), WideText(row.caption), row.style, ScaledPixels(DpiFactorX, row.x),
        ScaledPixels(DpiFactorY, row.y), ScaledPixels(DpiFactorX, row.width), ScaledPixels(DpiFactorY, row.height),
        form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), ModuleHandle, nullptr);
    if (!control) continue;
    AttachControlRecord(control, row.fontSpec, row.colours);
    SetControlTag(control, "");
    SetSecondControlTag(control, "");
    StoreControlWindow(row.id, control);
    ApplyInitialState(control, row.initialState);
  }
  SetFocus(ControlWindow(kFirstFocusId));
}

WindowRecord* AttachControlRecord(HWND control, const char* fontSpec, ControlColours colours) {
  WindowRecord* record = AttachNewRecord(control);
  if (!record) return nullptr;
  record->previousProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlWindowProc)));
  record->font = CreateFontFromSpec(fontSpec);
  if (record->font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(record->font), TRUE);
  record->window = control;
  SetRecordColours(*record, colours);
  return record;
}

BOOL CALLBACK RefreshControlColours(HWND child, LPARAM) {
  WindowRecord* record = RecordOf(child);
  if (record && record->coloursOn && record->backgroundIsSystem) {
    ReleaseBackgroundBrush(*record);
    record->backgroundBrush = GetSysColorBrush(static_cast<int>(record->background));
  }
  return TRUE;
}

LRESULT CALLBACK ControlWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = RecordOf(control);
  if (!record) return message == WM_DESTROY ? 0 : DefWindowProcW(control, message, wParam, lParam);
  const WNDPROC previous = record->previousProcedure;
  if (message == WM_DESTROY) {
    const HFONT font = record->font;
    ReleaseBackgroundBrush(*record);
    DetachRecord(control, record);
    RemoveControlTags(control);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    CallWindowProcW(previous, control, message, wParam, lParam);
    // Deleted once the control can no longer draw with it.
    if (font) DeleteObject(font);
    return 0;
  }
  if (message == WM_SETFOCUS) {
    if (record->selectAllOnFocus) {
      SendMessageW(control, EM_SETSEL, 0, -1);
    } else {
      SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    }
    HWND form = GetParent(control);
    if (form && (GetWindowLongW(form, GWL_STYLE) & WS_CHILD)) form = GetParent(form);
    if (WindowRecord* formRecord = form ? RecordOf(form) : nullptr) formRecord->lastFocus = control;
  }
  return CallWindowProcW(previous, control, message, wParam, lParam);
}
