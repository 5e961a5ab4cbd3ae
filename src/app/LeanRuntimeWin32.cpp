// The installer is built without exceptions. These replace the runtime pieces that would
// throw, so that the exception machinery (unwinder, demangler, exception classes) stays out
// of the program: running out of memory, or a library precondition failing, ends the process.
// It ends as every other path does, with exit code 0: abort() would give 3 and the runtime's
// own message box.
#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void Fail() { ExitProcess(0); }

// abort() raises SIGABRT before it ends the process (the runtime's own checks end there).
void OnAbortSignal(int) { Fail(); }

[[maybe_unused]] const bool gAbortHandled = std::signal(SIGABRT, OnAbortSignal) != SIG_ERR;

}  // namespace

// A call through a pure or deleted virtual function would go to std::terminate and abort().
extern "C" [[noreturn]] void __cxa_pure_virtual() { Fail(); }
extern "C" [[noreturn]] void __cxa_deleted_virtual() { Fail(); }

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  Fail();
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }

// All of the library's throw helpers, so that its own definitions are never linked beside these.
namespace std {
void __throw_bad_exception() { Fail(); }
void __throw_bad_alloc() { Fail(); }
void __throw_bad_array_new_length() { Fail(); }
void __throw_bad_cast() { Fail(); }
void __throw_bad_typeid() { Fail(); }
void __throw_bad_function_call() { Fail(); }
void __throw_logic_error(const char*) { Fail(); }
void __throw_domain_error(const char*) { Fail(); }
void __throw_invalid_argument(const char*) { Fail(); }
void __throw_length_error(const char*) { Fail(); }
void __throw_out_of_range(const char*) { Fail(); }
void __throw_out_of_range_fmt(const char*, ...) { Fail(); }
void __throw_runtime_error(const char*) { Fail(); }
void __throw_range_error(const char*) { Fail(); }
void __throw_overflow_error(const char*) { Fail(); }
void __throw_underflow_error(const char*) { Fail(); }
}  // namespace std
