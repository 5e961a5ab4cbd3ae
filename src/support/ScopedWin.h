#pragma once

// Small holders that release Win32 handles, DCs, GDI objects and COM on every path, so
// drawing and platform code reads as a list of calls.

#include <windows.h>
#include <objbase.h>

// A kernel handle closed with CloseHandle; both null and INVALID_HANDLE_VALUE mean none.
class AutoCloseHandle {
public:
    explicit AutoCloseHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~AutoCloseHandle() { Reset(); }
    AutoCloseHandle(const AutoCloseHandle&) = delete;
    AutoCloseHandle& operator=(const AutoCloseHandle&) = delete;

    void Reset(HANDLE handle = nullptr) {
        if (IsValid()) CloseHandle(handle_);
        handle_ = handle;
    }
    // Hands the handle to a new owner.
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    operator HANDLE() const { return handle_; }

private:
    HANDLE handle_;
};

// A GDI object (pen, brush, font, bitmap, region) deleted with DeleteObject.
template <typename T>
class ScopedGdiObj {
public:
    explicit ScopedGdiObj(T object = nullptr) : object_(object) {}
    ~ScopedGdiObj() { Reset(); }
    ScopedGdiObj(const ScopedGdiObj&) = delete;
    ScopedGdiObj& operator=(const ScopedGdiObj&) = delete;

    void Reset(T object = nullptr) {
        if (object_) DeleteObject(object_);
        object_ = object;
    }
    // Hands the object to a new owner.
    T Release() {
        T object = object_;
        object_ = nullptr;
        return object;
    }
    T Get() const { return object_; }
    operator T() const { return object_; }

private:
    T object_;
};

using ScopedBrush = ScopedGdiObj<HBRUSH>;
using ScopedPen = ScopedGdiObj<HPEN>;
using ScopedFont = ScopedGdiObj<HFONT>;
using ScopedBitmap = ScopedGdiObj<HBITMAP>;

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

// A DC made with CreateDC or CreateCompatibleDC, deleted with DeleteDC.
class ScopedCreateDC {
public:
    explicit ScopedCreateDC(HDC dc = nullptr) : dc_(dc) {}
    ~ScopedCreateDC() { Reset(); }
    ScopedCreateDC(const ScopedCreateDC&) = delete;
    ScopedCreateDC& operator=(const ScopedCreateDC&) = delete;

    void Reset(HDC dc = nullptr) {
        if (dc_) DeleteDC(dc_);
        dc_ = dc;
    }
    HDC Release() {
        HDC dc = dc_;
        dc_ = nullptr;
        return dc;
    }
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
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

// Memory from GlobalAlloc, freed with GlobalFree.
class ScopedHGlobal {
public:
    explicit ScopedHGlobal(HGLOBAL memory = nullptr) : memory_(memory) {}
    ~ScopedHGlobal() {
        if (memory_) GlobalFree(memory_);
    }
    ScopedHGlobal(const ScopedHGlobal&) = delete;
    ScopedHGlobal& operator=(const ScopedHGlobal&) = delete;
    HGLOBAL Get() const { return memory_; }
    operator HGLOBAL() const { return memory_; }

private:
    HGLOBAL memory_;
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
