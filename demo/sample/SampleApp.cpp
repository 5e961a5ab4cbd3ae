// The small program the demo package installs: a window that shows where it was started
// from, so the demo can see the installer's launch (folder parameter, working folder).
#include <windows.h>

#include <string>

namespace {

constexpr char kClassName[] = "LzSampleAppWindow";

std::string CurrentFolder() {
  char buffer[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  return buffer;
}

LRESULT CALLBACK SampleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      const std::string text = "岚舟示例程序已安装并启动。\r\n\r\n启动参数：" + std::string(GetCommandLineA()) +
                               "\r\n当前文件夹：" + CurrentFolder();
      SetBkMode(dc, TRANSPARENT);
      InflateRect(&client, -16, -16);
      DrawTextA(dc, text.c_str(), -1, &client, DT_LEFT | DT_WORDBREAK);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = SampleWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, kClassName, "岚舟示例程序", WS_OVERLAPPEDWINDOW, 40, 40, 560, 240, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
