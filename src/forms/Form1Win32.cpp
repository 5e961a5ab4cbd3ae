#include "forms/Form1Win32.h"

#include "forms/Form1Controls.h"
#include "forms/Form1WindowProcWin32.h"
#include "platform/GbkText.h"
#include "state/AppStateWin32.h"
#include "support/DpiScale.h"

namespace {

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

}  // namespace

HWND CreateForm1() {
  // The same UTF-16 name whatever the system's code page, so finding the window by class holds.
  const WideText className(kForm1ClassName);
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof registered;
  if (!GetClassInfoExW(ModuleHandle, className, &registered)) RegisterForm1Class(className);
  FormResult = 0;

  // The outer size, caption and borders included; the entry point set the factors before.
  const int width = ScaledPixels(DpiFactorX, kForm1Width);
  const int height = ScaledPixels(DpiFactorY, kForm1Height);
  const ScreenPoint origin = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
  const HWND form = CreateWindowExW(kForm1ExStyle, className, L"", kForm1Style, origin.x, origin.y, width, height,
                                    nullptr, nullptr, ModuleHandle, nullptr);
  return IsWindow(form) ? form : nullptr;
}
