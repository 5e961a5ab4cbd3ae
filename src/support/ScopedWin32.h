#pragma once

// Small holders that release Win32 handles, DCs, GDI objects and COM on every path, so
// drawing and platform code reads as a list of calls.

#include <windows.h>
#include <objbase.h>

#include "platform/ScopedHandle.h"

// Calls of the system's, wrapped: the address of an imported function is no template argument.
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline bool IsOpenHandle(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DeleteCreatedDC(HDC dc) { DeleteDC(dc); }
inline void FreeGlobal(HGLOBAL memory) { GlobalFree(memory); }

// A kernel handle closed with CloseHandle; both null and INVALID_HANDLE_VALUE mean none.
using AutoCloseHandle = ScopedHandle<HANDLE, CloseKernelHandle, IsOpenHandle>;

// A GDI object (pen, brush, font, bitmap, region) deleted with DeleteObject.
template <typename T>
using ScopedGdiObj = ScopedHandle<T, DeleteGdiObject>;
using ScopedBrush = ScopedGdiObj<HBRUSH>;
using ScopedPen = ScopedGdiObj<HPEN>;
using ScopedFont = ScopedGdiObj<HFONT>;
using ScopedBitmap = ScopedGdiObj<HBITMAP>;

// A DC made with CreateDC or CreateCompatibleDC, deleted with DeleteDC.
using ScopedCreateDC = ScopedHandle<HDC, DeleteCreatedDC>;

// Memory from GlobalAlloc, freed with GlobalFree.
using ScopedHGlobal = ScopedHandle<HGLOBAL, FreeGlobal>;

// A window's DC from GetDC, given back with ReleaseDC.
class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedGetDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelectObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint/EndPaint around one WM_PAINT.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~ScopedPaint() { EndPaint(window_, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// COM for the current thread; uninitialised only when this call initialised it.
class ScopedCom {
 public:
  ScopedCom() : result_(CoInitialize(nullptr)) {}
  ~ScopedCom() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;
  bool Succeeded() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

// A COM interface pointer released on scope exit; pass Out() to a creating call.
template <typename T>
class ScopedComPtr {
 public:
  ScopedComPtr() = default;
  ~ScopedComPtr() {
    if (pointer_) pointer_->Release();
  }
  ScopedComPtr(const ScopedComPtr&) = delete;
  ScopedComPtr& operator=(const ScopedComPtr&) = delete;

  T** Out() { return &pointer_; }
  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  T* pointer_ = nullptr;
};

// GlobalLock/GlobalUnlock of movable memory.
class ScopedGlobalLock {
 public:
  explicit ScopedGlobalLock(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  ~ScopedGlobalLock() {
    if (data_) GlobalUnlock(memory_);
  }
  ScopedGlobalLock(const ScopedGlobalLock&) = delete;
  ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};
