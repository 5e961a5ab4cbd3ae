#pragma once

// Holders for GDI+ start-up and flat-API objects, released on every path.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

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

// A GDI+ bitmap disposed with GdipDisposeImage.
class ScopedGpBitmap {
public:
    ScopedGpBitmap() = default;
    ~ScopedGpBitmap() {
        if (bitmap_) Gdiplus::DllExports::GdipDisposeImage(bitmap_);
    }
    ScopedGpBitmap(const ScopedGpBitmap&) = delete;
    ScopedGpBitmap& operator=(const ScopedGpBitmap&) = delete;
    Gdiplus::GpBitmap** Out() { return &bitmap_; }
    Gdiplus::GpBitmap* Get() const { return bitmap_; }
    explicit operator bool() const { return bitmap_ != nullptr; }

private:
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

// A GDI+ graphics object deleted with GdipDeleteGraphics.
class ScopedGpGraphics {
public:
    ScopedGpGraphics() = default;
    ~ScopedGpGraphics() {
        if (graphics_) Gdiplus::DllExports::GdipDeleteGraphics(graphics_);
    }
    ScopedGpGraphics(const ScopedGpGraphics&) = delete;
    ScopedGpGraphics& operator=(const ScopedGpGraphics&) = delete;
    Gdiplus::GpGraphics** Out() { return &graphics_; }
    Gdiplus::GpGraphics* Get() const { return graphics_; }
    explicit operator bool() const { return graphics_ != nullptr; }

private:
    Gdiplus::GpGraphics* graphics_ = nullptr;
};
