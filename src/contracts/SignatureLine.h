#pragma once
// Where a signed file carries the publisher's signature: one line appended at its very end,
//   CR LF "LZSIGN-P256 " <r||s as 128 lower-case hex digits> CR LF
// covering every byte before it (ECDSA P-256 over SHA-256). The leading CR LF ends a last
// information-block line that has none, so the block reads the same; the 7z reader and the
// loader ignore bytes after the archive and after the image.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view kSignatureTag = "LZSIGN-P256 ";
inline constexpr std::size_t kSignatureSize = 64;
inline constexpr std::size_t kSignatureLineSize = 2 + kSignatureTag.size() + 2 * kSignatureSize + 2;

using Signature = std::array<std::uint8_t, kSignatureSize>;

struct SignatureLine {
  std::uint64_t coveredSize = 0;  // the bytes before the line
  Signature signature{};
};

// The line that formats the signature.
std::string FormatSignatureLine(const Signature& signature);

// The signature a file of fileSize bytes carries; ending holds its last bytes (at least
// kSignatureLineSize of them, or the whole file when it is shorter). Empty when the file
// does not end with a well-formed line.
std::optional<SignatureLine> FindSignatureLine(std::string_view ending, std::uint64_t fileSize);

// The part of the file that a new signature covers: the file without the line it carries.
std::uint64_t UnsignedSize(std::string_view ending, std::uint64_t fileSize);
