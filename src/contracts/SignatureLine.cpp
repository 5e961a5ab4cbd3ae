#include "contracts/SignatureLine.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;  // one spelling only, so a line has exactly one form
}

}  // namespace

std::string FormatSignatureLine(const Signature& signature) {
  std::string line = "\r\n";
  line += kSignatureTag;
  for (const std::uint8_t byte : signature) {
    line += kHexDigits[byte >> 4];
    line += kHexDigits[byte & 15];
  }
  line += "\r\n";
  return line;
}

std::optional<SignatureLine> FindSignatureLine(std::string_view ending, std::uint64_t fileSize) {
  if (fileSize < kSignatureLineSize || ending.size() < kSignatureLineSize || ending.size() > fileSize) {
    return std::nullopt;
  }
  std::string_view line = ending.substr(ending.size() - kSignatureLineSize);
  if (!line.starts_with("\r\n") || !line.ends_with("\r\n")) return std::nullopt;
  line = line.substr(2, line.size() - 4);
  if (!line.starts_with(kSignatureTag)) return std::nullopt;
  line.remove_prefix(kSignatureTag.size());

  SignatureLine found;
  for (std::size_t i = 0; i < kSignatureSize; ++i) {
    const int high = HexValue(line[2 * i]), low = HexValue(line[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    found.signature[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  found.coveredSize = fileSize - kSignatureLineSize;
  return found;
}

std::uint64_t UnsignedSize(std::string_view ending, std::uint64_t fileSize) {
  const std::optional<SignatureLine> line = FindSignatureLine(ending, fileSize);
  return line ? line->coveredSize : fileSize;
}
