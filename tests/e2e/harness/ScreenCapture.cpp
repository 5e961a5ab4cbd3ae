#include "Harness.h"

#include "platform/GbkText.h"
#include "support/ScopedGdiplusWin32.h"

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

Pixels CaptureClientArea(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  if (client.right <= 0 || client.bottom <= 0) return {};
  Pixels pixels{client.right, client.bottom, {}};
  BITMAPINFO info{};
  // A negative height puts the top row first.
  info.bmiHeader = {sizeof info.bmiHeader, pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const uint32_t*>(bits);
  pixels.rgb.assign(source, source + static_cast<std::size_t>(pixels.width) * pixels.height);
  for (uint32_t& pixel : pixels.rgb) pixel &= 0xFFFFFF;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

uint32_t RgbOf(COLORREF colour) {
  return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

bool SavePng(const Pixels& pixels, const std::string& path) {
  ScopedGdiplusStartup gdiplus;
  std::vector<uint32_t> rows = pixels.rgb;  // GDI+ wants a writable buffer
  const WideText widePath(path);            // GBK, as every path of the suites
  // GDI+'s PNG encoder, {557CF406-1A04-11D3-9A73-0000F81EF32E}.
  const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  ScopedGpBitmap bitmap;
  return gdiplus && !rows.empty() &&
         Gdiplus::DllExports::GdipCreateBitmapFromScan0(pixels.width, pixels.height, pixels.width * 4,
                                                        PixelFormat32bppRGB, reinterpret_cast<BYTE*>(rows.data()),
                                                        bitmap.Out()) == Gdiplus::Ok &&
         Gdiplus::DllExports::GdipSaveImageToFile(bitmap.Get(), widePath, &png, nullptr) == Gdiplus::Ok;
}
