#include "forms/Form1.h"

#include <commctrl.h>

#include "state/AppState.h"
#include "support/DpiScale.h"
#include "forms/Form1WindowProc.h"
#include "state/FormsState.h"
#include "support/FontSpecWin32.h"
#include "platform/GbkText.h"

namespace {

// The entry point sets the factors before any window exists.
int PixelsX(int units) { return ScaledPixels(DpiFactorX, units); }
int PixelsY(int units) { return ScaledPixels(DpiFactorY, units); }

void RegisterForm1Class(const wchar_t* className) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = Form1WindowProc;
  windowClass.hInstance = ModuleHandle;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(ModuleHandle, L"IMAGE_ICO", IMAGE_ICON, 32, 32, LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(ModuleHandle, L"IMAGE_ICO", IMAGE_ICON, 16, 16, LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  RegisterClassExW(&windowClass);  // a failure shows as a failed CreateWindowExW
}

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

HWND CreateForm1() {
  // The same UTF-16 name whatever the system's code page, so finding the window by class holds.
  const WideText className(kForm1ClassName);
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof registered;
  if (!GetClassInfoExW(ModuleHandle, className, &registered)) RegisterForm1Class(className);
  FormResult = 0;

  // The outer size, caption and borders included.
  const int width = PixelsX(kForm1Width);
  const int height = PixelsY(kForm1Height);
  const ScreenPoint origin =
      CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
  const HWND form = CreateWindowExW(kForm1ExStyle, className, L"", kForm1Style, origin.x, origin.y, width,
                                    height, nullptr, nullptr, ModuleHandle, nullptr);
  return IsWindow(form) ? form : nullptr;
}

void CreateForm1Controls(HWND form) {
  for (const ControlRow& row : kForm1Controls) {
    const HWND control =
        CreateWindowExW(row.exStyle, WideText(row.windowClass), WideText(row.caption), row.style, PixelsX(row.x),
                        PixelsY(row.y), PixelsX(row.width), PixelsY(row.height), form,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), ModuleHandle, nullptr);
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
  record->previousProcedure =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlWindowProc)));
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
