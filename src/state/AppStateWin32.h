#pragma once

#include <windows.h>

#include <string>

// Process-wide values of the application shell, set at start-up.

extern float DpiFactorX;  // screen LOGPIXELSX / 96
extern float DpiFactorY;  // screen LOGPIXELSY / 96
extern HINSTANCE ModuleHandle;
extern std::string RichEditClass;  // the rich-edit class loaded, or empty
extern std::string ProgramFolder;  // the program's folder, with its trailing separator
extern std::string ProgramFileName;
extern int FormResult;
extern HWND ActiveForm;        // the active form, kept on WM_ACTIVATE
extern HWND MainWindowHandle;  // Form1 from its WM_CREATE to its WM_DESTROY
