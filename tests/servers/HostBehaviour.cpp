#include "HostBehaviour.h"

#include <charconv>

namespace {

template <typename Number>
bool ReadNumber(std::string_view text, Number& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size();
}

bool ApplyOption(std::string_view key, std::string_view value, HostBehaviour& b) {
  if (key == "redirect") return b.redirect = value, true;
  if (key == "to") return b.redirectHost = value, true;
  if (key == "length") return b.length = value, true;
  if (key == "status") return ReadNumber(value, b.status);
  if (key == "announce") return ReadNumber(value, b.announce);
  if (key == "cut") return ReadNumber(value, b.cut);
  if (key == "reset") return ReadNumber(value, b.reset);
  if (key == "stall") return ReadNumber(value, b.stall);
  if (key == "range") return ReadNumber(value, b.range);
  if (key == "from") return ReadNumber(value, b.from) && b.from >= 0;
  if (key == "contentrange") return b.contentRange = value, true;
  if (key == "extra") return ReadNumber(value, b.extra) && b.extra >= 0;
  if (key == "silent") return ReadNumber(value, b.silent);
  if (key == "host") return b.onlyHost = value, true;
  if (key == "split") return ReadNumber(value, b.split) && b.split >= 0;
  if (key == "slow") return ReadNumber(value, b.slowMs) && b.slowMs >= 0;
  if (key == "delay") return ReadNumber(value, b.delayMs) && b.delayMs >= 0;
  if (key == "pad") return ReadNumber(value, b.pad) && b.pad >= 0;
  if (key == "once") return ReadNumber(value, b.once);
  if (key == "piece") return ReadNumber(value, b.piece) && b.piece > 0;
  return false;
}

}  // namespace

bool ApplyOptions(std::string_view query, HostBehaviour& behaviour) {
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view option = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (option.empty()) continue;
    const size_t equals = option.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view key = option.substr(0, equals);
    if (!ApplyOption(key, option.substr(equals + 1), behaviour)) return false;
    if (key != "redirect" && key != "to") behaviour.kept.emplace_back(option);
  }
  return true;
}
