// Entry point and main routine: the window system comes up around Form1's life; GDI+, COM and
// the shell come later, where first needed.
#include <windows.h>
#include <commctrl.h>

#include "app/ModalLoopWin32.h"
#include "contracts/ProgramIdentity.h"
#include "forms/Form1Win32.h"
#include "platform/GbkText.h"
#include "platform/SystemLibrariesWin32.h"
#include "state/AppStateWin32.h"
#include "support/DpiScale.h"
#include "support/MessagePumpWin32.h"
#include "support/ScopedWin32.h"

namespace {

void SetDpiFactors() {
  ScopedGetDC screen(nullptr);
  DpiFactorX = DpiFactorFor(GetDeviceCaps(screen, LOGPIXELSX));
  DpiFactorY = DpiFactorFor(GetDeviceCaps(screen, LOGPIXELSY));
}

// No rich-edit control is made; the class name only serves the loop's keyboard rule. Each
// library is tried from System32 only.
void LoadRichEditLibrary() {
  const struct {
    const char* library;
    const char* className;
  } candidates[] = {{"MSFTEDIT.DLL", "RichEdit50W"}, {"RICHED20.DLL", "RichEdit20A"}, {"RICHED32.DLL", "RichEdit"}};
  for (const auto& candidate : candidates) {
    if (LoadSystemLibrary(candidate.library)) {
      RichEditClass = candidate.className;
      return;
    }
  }
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
  LoadRichEditLibrary();
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
