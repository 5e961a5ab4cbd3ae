#pragma once
#include <stdexcept>

namespace sevenzip {

// Why an archive cannot be read; thrown inside the reader, caught at the library's entry points.
enum class ErrorKind { Damaged, Unsupported, Io };

class ArchiveError : public std::runtime_error {
public:
    ArchiveError(ErrorKind kind, const char* what) : std::runtime_error(what), kind_(kind) {}
    ErrorKind Kind() const { return kind_; }

private:
    ErrorKind kind_;
};

[[noreturn]] inline void ThrowDamaged(const char* what) { throw ArchiveError(ErrorKind::Damaged, what); }
[[noreturn]] inline void ThrowUnsupported(const char* what) { throw ArchiveError(ErrorKind::Unsupported, what); }

}  // namespace sevenzip
