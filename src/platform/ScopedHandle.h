#pragma once

#include <utility>

// The one shape of every holder: owns a handle, gives it back with Close on every path and is
// never copied. A handle is held when IsHeld says so (not null, unless told otherwise).
template <typename Handle>
constexpr bool NotNull(Handle handle) {
  return handle != Handle{};
}

template <typename Handle, auto Close, auto IsHeld = NotNull<Handle>>
class ScopedHandle {
 public:
  explicit ScopedHandle(Handle handle = Handle{}) : handle_(handle) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  void Reset(Handle handle = Handle{}) {
    if (IsHeld(handle_)) Close(handle_);
    handle_ = handle;
  }
  // Hands the handle to a new owner.
  Handle Release() { return std::exchange(handle_, Handle{}); }
  // For a call that makes the handle; what was held is given back first.
  Handle* Out() {
    Reset();
    return &handle_;
  }
  bool IsValid() const { return IsHeld(handle_); }
  Handle Get() const { return handle_; }
  operator Handle() const { return handle_; }

 private:
  Handle handle_;
};
