#include "state/AppStateWin32.h"

float DpiFactorX = 0;
float DpiFactorY = 0;
HINSTANCE ModuleHandle = nullptr;
std::string RichEditClass;
std::string ProgramFolder;
std::string ProgramFileName;
int FormResult = 0;
HWND ActiveForm = nullptr;
HWND MainWindowHandle = nullptr;
