#pragma once

// Holders for GDI+ start-up and flat-API objects, released on every path.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "platform/ScopedHandle.h"

// GdiplusStartup with version 1 and default options; GdiplusShutdown with the same token.
// Pairs nest, so a short pair works whether or not GDI+ runs already.
class ScopedGdiplusStartup {
 public:
  ScopedGdiplusStartup() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
  }
  ~ScopedGdiplusStartup() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
  }
  ScopedGdiplusStartup(const ScopedGdiplusStartup&) = delete;
  ScopedGdiplusStartup& operator=(const ScopedGdiplusStartup&) = delete;
  explicit operator bool() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

inline void DisposeGpBitmap(Gdiplus::GpBitmap* bitmap) { Gdiplus::DllExports::GdipDisposeImage(bitmap); }
inline void DeleteGpGraphics(Gdiplus::GpGraphics* graphics) { Gdiplus::DllExports::GdipDeleteGraphics(graphics); }

// A GDI+ bitmap disposed with GdipDisposeImage.
using ScopedGpBitmap = ScopedHandle<Gdiplus::GpBitmap*, DisposeGpBitmap>;

// A GDI+ graphics object deleted with GdipDeleteGraphics.
using ScopedGpGraphics = ScopedHandle<Gdiplus::GpGraphics*, DeleteGpGraphics>;
