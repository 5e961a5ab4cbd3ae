#include "support/GbkPath.h"

#include "platform/AsciiText.h"

namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Calls visit(offset) for every byte that starts a character.
template <typename Visit>
void ForEachCharacter(std::string_view text, Visit visit) {
  for (std::string_view::size_type i = 0; i < text.size();) {
    visit(i);
    i += IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
}

}  // namespace

bool EndsWithBackslash(std::string_view path) {
  bool last = false;
  ForEachCharacter(path, [&](std::string_view::size_type i) { last = path[i] == '\\'; });
  return last;
}

std::string WithTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (!EndsWithBackslash(path)) result += '\\';
  return result;
}

std::vector<std::string> SplitPathPieces(const std::string& path) {
  std::vector<std::string> pieces;
  std::string::size_type start = 0;
  ForEachCharacter(path, [&](std::string::size_type i) {
    if (path[i] != '\\') return;
    pieces.push_back(path.substr(start, i - start));
    start = i + 1;
  });
  pieces.push_back(path.substr(start));
  return pieces;
}

std::string::size_type AfterLastSeparator(const std::string& path) {
  std::string::size_type after = 0;
  ForEachCharacter(path, [&](std::string::size_type i) {
    if (path[i] == ':' || path[i] == '/' || path[i] == '\\') after = i + 1;
  });
  return after;
}

std::string UpperAsciiLetters(std::string_view text) {
  std::string result(text);
  ForEachCharacter(text, [&](std::string_view::size_type i) { result[i] = AsciiUpper(result[i]); });
  return result;
}

std::string LowerAsciiLetters(std::string_view text) {
  std::string result(text);
  ForEachCharacter(text, [&](std::string_view::size_type i) { result[i] = AsciiLower(result[i]); });
  return result;
}
