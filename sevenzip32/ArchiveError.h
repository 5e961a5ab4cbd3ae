#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace sevenzip {

// Why an archive cannot be read; thrown inside the reader, caught at the library's entry points.
enum class ErrorKind { Damaged, Unsupported, Io };

class ArchiveError : public std::runtime_error {
 public:
  ArchiveError(ErrorKind kind, const char* what, std::optional<uint64_t> method = {})
      : std::runtime_error(what), kind_(kind), method_(method) {}
  ErrorKind Kind() const { return kind_; }
  // The coder's method ID when a coder this library does not decode is the reason.
  std::optional<uint64_t> Method() const { return method_; }

 private:
  ErrorKind kind_;
  std::optional<uint64_t> method_;
};

[[noreturn]] inline void ThrowDamaged(const char* what) { throw ArchiveError(ErrorKind::Damaged, what); }
[[noreturn]] inline void ThrowUnsupported(const char* what) { throw ArchiveError(ErrorKind::Unsupported, what); }
[[noreturn]] inline void ThrowUnsupportedCoder(const char* what, uint64_t method) {
  throw ArchiveError(ErrorKind::Unsupported, what, method);
}

}  // namespace sevenzip
