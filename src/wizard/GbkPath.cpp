#include "wizard/GbkPath.h"

namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace

bool EndsWithBackslash(std::string_view text) {
  bool lastIsBackslash = false;
  for (size_t i = 0; i < text.size(); ++i) {
    lastIsBackslash = text[i] == '\\';
    // A lead byte swallows its trail byte, whatever its value; a cut-off lead at the end
    // is not a backslash either.
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return lastIsBackslash;
}

std::string WithTrailingBackslash(std::string_view text) {
  std::string result(text);
  if (!EndsWithBackslash(text)) result += '\\';
  return result;
}
