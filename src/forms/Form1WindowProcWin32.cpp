#include "forms/Form1WindowProcWin32.h"

#include <cstring>

#include "extract/CleanUpOnDestroyWin32.h"
#include "forms/CommandRoute.h"
#include "forms/CustomMessagesWin32.h"
#include "forms/Form1ControlsWin32.h"
#include "forms/LoadStepWin32.h"
#include "state/AppStateWin32.h"
#include "wizard/FolderPickerWin32.h"
#include "wizard/NavigationWin32.h"
#include "wizard/PagePainterWin32.h"

namespace {

// The WindowRecord index of the control that sent a command or notification; -1 if none.
int SenderIndex(UINT message, LPARAM lParam) {
  HWND sender = nullptr;
  if (message == WM_COMMAND || message == WM_HSCROLL || message == WM_VSCROLL) {
    sender = reinterpret_cast<HWND>(lParam);
  } else if (message == WM_NOTIFY && lParam) {
    sender = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
  }
  const WindowRecord* record = sender ? RecordOf(sender) : nullptr;
  return record ? record->index : -1;
}

int OnCommandClick(HWND form, WPARAM wParam, LPARAM lParam) {
  const int index = SenderIndex(WM_COMMAND, lParam);
  const HWND sender = reinterpret_cast<HWND>(lParam);
  const int id = LOWORD(wParam);
  switch (RouteCommand(static_cast<uint32_t>(wParam))) {
    case CommandRoute::Next: return OnNextClicked(index, form, sender, id);
    case CommandRoute::Cancel: return OnCancelClicked(index, form, sender, id);
    case CommandRoute::Back: return OnBackClicked(index, form, sender, id);
    case CommandRoute::Browse: return OnBrowseClicked(index, form, sender, id);
    case CommandRoute::None: return 0;
  }
  return 0;
}

int OfferToEventHandlers(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: return OnCommandClick(form, wParam, lParam);
    case WM_CLOSE: return ConfirmClose(form);
    case WM_PAINT: return PaintPage(form);
    default: return 0;
  }
}

LRESULT OnCreate(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = AttachNewRecord(form);
  if (!record) return -1;
  record->isForm = -1;
  MainWindowHandle = form;
  SetControlTag(form, "");
  SetSecondControlTag(form, "");
  CreateForm1Controls(form);
  const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  if (const int result = OnForm1Load(form, reinterpret_cast<LPARAM>(creation->lpCreateParams))) return result;
  return DefWindowProcW(form, message, wParam, lParam);
}

LRESULT OnDestroy(HWND form, WindowRecord* record) {
  CleanUpOnDestroy(form);
  MainWindowHandle = nullptr;
  if (record) {
    ReleaseBackgroundBrush(*record);
    if (record->accelerators) DestroyAcceleratorTable(record->accelerators);
    if (record->timer) KillTimer(nullptr, record->timer);
    DetachRecord(form, record);
  }
  RemoveControlTags(form);
  PostQuitMessage(0);
  return 0;
}

void OnCloseAllowed(HWND form, const WindowRecord* record) {
  if (!record || !record->inModalLoop) return;
  if (record->owner) {
    EnableWindow(record->owner, TRUE);
    SetActiveWindow(record->owner);
  }
  ShowWindow(form, SW_HIDE);
}

bool IsEditClass(HWND window) {
  wchar_t name[16] = L"";
  GetClassNameW(window, name, 16);
  return _wcsicmp(name, L"EDIT") == 0;
}

COLORREF ResolveColour(COLORREF value, int32_t isSystem) {
  return isSystem ? GetSysColor(static_cast<int>(value)) : value;
}

LRESULT OnControlColour(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND control = reinterpret_cast<HWND>(lParam);
  const HDC dc = reinterpret_cast<HDC>(wParam);
  const WindowRecord* record = RecordOf(control);
  if (!record && GetFocus()) record = RecordOf(GetFocus());
  if (!record || !record->coloursOn) return DefWindowProcW(form, message, wParam, lParam);

  SetTextColor(dc, ResolveColour(record->foreground, record->foregroundIsSystem));
  SetBkColor(dc, ResolveColour(record->background, record->backgroundIsSystem));
  HBRUSH brush = record->backgroundBrush;
  if (IsEditClass(record->window)) {
    SetBkMode(dc, OPAQUE);
    if (!IsWindowEnabled(control)) {
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      brush = GetSysColorBrush(COLOR_BTNFACE);
    }
  } else {
    SetBkMode(dc, TRANSPARENT);
  }
  return reinterpret_cast<LRESULT>(brush);
}

LRESULT DefaultHandling(HWND form, WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(form, message, wParam, lParam);
    case WM_DESTROY: return OnDestroy(form, record);
    case WM_SETFOCUS:
      if (record && record->lastFocus) SetFocus(record->lastFocus);
      break;
    case WM_CLOSE: OnCloseAllowed(form, record); break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED: EnumChildWindows(form, RefreshControlColours, 0); break;
    case WM_GETMINMAXINFO: DefWindowProcW(form, message, wParam, lParam); return 0;
    case WM_SYSCOMMAND:
      // The close box, Alt+F4 and the system menu all go through the close confirmation.
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(form, WM_CLOSE, wParam, lParam);
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: return OnControlColour(form, message, wParam, lParam);
    default: break;
  }
  return DefWindowProcW(form, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK Form1WindowProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = message != WM_CREATE && IsWindow(form) ? RecordOf(form) : nullptr;
  if (message == WM_ACTIVATE) ActiveForm = wParam ? form : nullptr;
  if (const int result = OfferToEventHandlers(form, message, wParam, lParam)) return result;
  if (const int result = CustomMessageHandler(form, message, wParam, lParam)) return result;
  return DefaultHandling(form, record, message, wParam, lParam);
}
