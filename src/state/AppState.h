#pragma once

#include <windows.h>

#include <string>

// Process-wide values of the application shell, set at start-up.

inline float DpiFactorX = 0;  // screen LOGPIXELSX / 96
inline float DpiFactorY = 0;  // screen LOGPIXELSY / 96
inline HINSTANCE ModuleHandle = nullptr;
inline std::string RichEditClass;  // the rich-edit class loaded, or empty
inline std::string ProgramFolder;  // the program's folder, with its trailing separator
inline std::string ProgramFileName;
inline int FormResult = 0;
inline HWND ActiveForm = nullptr;        // the active form, kept on WM_ACTIVATE
inline HWND MainWindowHandle = nullptr;  // Form1 from its WM_CREATE to its WM_DESTROY
