#include "support/ResourceImageWin32.h"

#include <cstring>
#include <optional>

#include "support/PixelAdjust.h"
#include "support/ResourceName.h"
#include "support/ScopedGdiplusWin32.h"
#include "support/ScopedWin32.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

HRSRC FindImageResource(HMODULE module, const wchar_t* name) {
  std::optional<uint16_t> id = ResourceIdFromName(name);
  return FindResourceW(module, id ? MAKEINTRESOURCEW(*id) : name, MAKEINTRESOURCEW(10));
}

void AdjustPixels(GpBitmap* bitmap, UINT width, UINT height, float lightenFactor, bool greyscale) {
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      ARGB pixel = 0;
      if (GdipBitmapGetPixel(bitmap, x, y, &pixel) != Ok) continue;
      GdipBitmapSetPixel(bitmap, x, y, AdjustPixel(pixel, lightenFactor, greyscale));
    }
  }
}

}  // namespace

HANDLE LoadResourceImage(HMODULE module, const wchar_t* name, int lightenPercent, bool greyscale, int mode,
                         uint32_t background) {
  ScopedGdiplusStartup gdiplus;
  if (!gdiplus) return nullptr;

  HRSRC info = FindImageResource(module, name);
  if (!info) return nullptr;
  const DWORD size = SizeofResource(module, info);
  HGLOBAL loaded = size ? LoadResource(module, info) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return nullptr;

  // GDI+ reads the picture from a stream over a movable copy of the bytes.
  ScopedHGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
  ScopedGlobalLock lock(memory);
  if (!lock.Data()) return nullptr;
  std::memcpy(lock.Data(), bytes, size);
  ScopedComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory, FALSE, stream.Out()))) return nullptr;

  ScopedGpBitmap decoded;
  if (GdipCreateBitmapFromStream(stream.Get(), decoded.Out()) != Ok || !decoded) return nullptr;
  UINT width = 0, height = 0;
  GdipGetImageWidth(decoded.Get(), &width);
  GdipGetImageHeight(decoded.Get(), &height);

  GpBitmap* picture = decoded.Get();
  ScopedGpBitmap adjusted;
  const float lightenFactor = LightenFactor(lightenPercent);
  if (lightenFactor != 0.0f || greyscale) {
    // A GIF decodes to palette indices, which cannot take the new colours: adjust a
    // true-colour copy instead.
    if (GdipCloneBitmapAreaI(0, 0, width, height, PixelFormat32bppARGB, decoded.Get(), adjusted.Out()) != Ok)
      return nullptr;
    picture = adjusted.Get();
    AdjustPixels(picture, width, height, lightenFactor, greyscale);
  }

  if (mode == kResourceImageIcon) {
    HICON icon = nullptr;
    return GdipCreateHICONFromBitmap(picture, &icon) == Ok ? icon : nullptr;
  }
  HBITMAP result = nullptr;
  return GdipCreateHBITMAPFromBitmap(picture, &result, background) == Ok ? result : nullptr;
}

void LoadImageCanvas(MemoryCanvas& canvas, HMODULE module, const wchar_t* name, int lightenPercent, bool greyscale,
                     uint32_t background) {
  ReleaseCanvas(canvas);
  ScopedBitmap decoded(static_cast<HBITMAP>(
      LoadResourceImage(module, name, lightenPercent, greyscale, kResourceImageBitmap, background)));
  // Without a picture the canvas stays empty: a surface of size 0 is really GDI's 1 x 1
  // black bitmap, which some TransparentBlt implementations stretch over the page.
  if (!decoded) return;
  BITMAP size{};
  GetObjectW(decoded, sizeof size, &size);
  {
    ScopedCreateDC display(CreateDisplayDc());
    if (display) MakeCanvasSurface(canvas, display, size.bmWidth, size.bmHeight);
  }
  DrawBitmapWithGdiPlus(canvas, decoded, 0, 0, 0, 0);
}

GpStatus DrawBitmapWithGdiPlus(MemoryCanvas& canvas, HBITMAP bitmap, float x, float y, float width, float height) {
  // Its own start-up pair, so drawing does not depend on the main routine's.
  ScopedGdiplusStartup gdiplus;
  ScopedGpBitmap image;
  GpStatus status = GdipCreateBitmapFromHBITMAP(bitmap, nullptr, image.Out());
  if (!image) return status;
  ScopedGpGraphics graphics;
  status = GdipCreateFromHDC(CanvasDc(canvas), graphics.Out());
  if (!graphics) return status;
  if (width == 0 || height == 0) {
    GdipDrawImage(graphics.Get(), image.Get(), x, y);
  } else {
    GdipDrawImageRect(graphics.Get(), image.Get(), x, y, width, height);
  }
  return status;
}
