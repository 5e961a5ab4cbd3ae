// Entry point and main routine: the window system comes up around Form1's life; GDI+, COM, the
// shell and the rich-edit library come later, where first needed.
#include <windows.h>
#include <commctrl.h>

#include "state/AppStateWin32.h"
#include "support/DpiScale.h"
#include "app/ModalLoopWin32.h"
#include "contracts/ProgramIdentity.h"
#include "forms/Form1Win32.h"
#include "support/MessagePumpWin32.h"
#include "support/ScopedWin32.h"
#include "platform/SystemLibrariesWin32.h"
#include "platform/GbkText.h"

namespace {

void SetDpiFactors() {
  ScopedGetDC screen(nullptr);
  DpiFactorX = DpiFactorFor(GetDeviceCaps(screen, LOGPIXELSX));
  DpiFactorY = DpiFactorFor(GetDeviceCaps(screen, LOGPIXELSY));
}

void SetProgramIdentity(HINSTANCE module) {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const ModulePath split = SplitModulePath(GbkPathFromWide(path));
  ModuleHandle = module;
  ProgramFolder = split.folder;
  ProgramFileName = split.fileName;
}

int RunInstaller(HINSTANCE module) {
  INITCOMMONCONTROLSEX controls{sizeof controls, 0x7FFF};
  InitCommonControlsEx(&controls);
  SetProgramIdentity(module);
  if (const HWND form = CreateForm1()) RunModalLoop(form, SW_SHOWNORMAL);
  return FormResult;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL: the installer's own folder may be Downloads.
  RestrictDllSearchToSystem32();
  SetDpiFactors();
  UseHeldFileClock(&WindowRetryClock());
  return RunInstaller(GetModuleHandleA(nullptr));
}
