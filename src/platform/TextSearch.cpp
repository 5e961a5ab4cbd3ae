#include "platform/TextSearch.h"

std::string TextBetween(std::string_view text, std::string_view key, std::string_view terminator) {
  const size_t keyAt = text.find(key);
  if (keyAt == std::string_view::npos) return {};
  const size_t valueAt = keyAt + key.size();
  const size_t terminatorAt = text.find(terminator, valueAt);
  if (terminatorAt == std::string_view::npos) return {};
  return std::string(text.substr(valueAt, terminatorAt - valueAt));
}

std::string TextAfter(std::string_view text, std::string_view delimiter) {
  const size_t at = text.find(delimiter);
  if (at == std::string_view::npos) return {};
  return std::string(text.substr(at + delimiter.size()));
}
