#include "wizard/DesktopShellLaunchWin32.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "support/GbkBstrWin32.h"
#include "support/ScopedWin32.h"

namespace {

// The VARIANT only points at the text; its holder frees it.
VARIANT TextArgument(const GbkBstr& text) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = text.Get();
  return argument;
}

VARIANT NumberArgument(LONG number) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = number;
  return argument;
}

template <typename T>
bool Query(IUnknown* object, REFIID interfaceId, ScopedComPtr<T>& result) {
  return SUCCEEDED(object->QueryInterface(interfaceId, reinterpret_cast<void**>(result.Out()))) && result;
}

// The shell object behind the desktop's folder view, which opens files in Explorer's process,
// and the desktop window Explorer draws.
bool FindDesktopShell(ScopedComPtr<IShellDispatch2>& shell, HWND& desktopWindow) {
  ScopedComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                              reinterpret_cast<void**>(windows.Out()))) ||
      !windows) {
    return false;
  }
  VARIANT location = NumberArgument(CSIDL_DESKTOP), root;
  VariantInit(&root);
  LONG window = 0;
  ScopedComPtr<IDispatch> desktop;
  // S_FALSE: no desktop window is registered.
  if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.Out()) != S_OK ||
      !desktop) {
    return false;
  }
  desktopWindow = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));
  ScopedComPtr<IServiceProvider> services;
  ScopedComPtr<IShellBrowser> browser;
  ScopedComPtr<IShellView> view;
  ScopedComPtr<IDispatch> background;
  ScopedComPtr<IShellFolderViewDual> folderView;
  ScopedComPtr<IDispatch> application;
  return Query(desktop.Get(), IID_IServiceProvider, services) &&
         SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                          reinterpret_cast<void**>(browser.Out()))) &&
         browser && SUCCEEDED(browser->QueryActiveShellView(view.Out())) && view &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, reinterpret_cast<void**>(background.Out()))) &&
         background && Query(background.Get(), IID_IShellFolderViewDual, folderView) &&
         SUCCEEDED(folderView->get_Application(application.Out())) && application &&
         Query(application.Get(), IID_IShellDispatch2, shell);
}

}  // namespace

bool StartThroughDesktopShell(const LaunchRequest& launch) {
  ScopedCom com;  // declared first: every interface is released before COM is uninitialised
  ScopedComPtr<IShellDispatch2> shell;
  HWND desktopWindow = nullptr;
  if (!FindDesktopShell(shell, desktopWindow)) return false;
  // Explorer may bring the program's window to the front, as this process could.
  DWORD explorer = 0;
  if (desktopWindow && GetWindowThreadProcessId(desktopWindow, &explorer)) AllowSetForegroundWindow(explorer);
  const GbkBstr file(launch.file), parameters(launch.parameters), folder(launch.workingFolder), operation("open");
  // Only S_OK says the program was started.
  return shell->ShellExecute(file.Get(), TextArgument(parameters), TextArgument(folder), TextArgument(operation),
                             NumberArgument(launch.showCommand)) == S_OK;
}
