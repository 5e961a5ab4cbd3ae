#include "retrieval/proxy/ProxyRules.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "platform/AsciiText.h"

namespace {

constexpr std::string_view kSeparators = "; \t\r\n";
// Longer settings are not a person's; nothing in them is taken.
constexpr size_t kMaxSetting = 4096;

std::vector<std::string_view> Entries(std::string_view list) {
  std::vector<std::string_view> entries;
  while (!list.empty()) {
    const size_t start = list.find_first_not_of(kSeparators);
    if (start == std::string_view::npos) break;
    list.remove_prefix(start);
    const size_t end = std::min(list.find_first_of(kSeparators), list.size());
    entries.push_back(list.substr(0, end));
    list.remove_prefix(end);
  }
  return entries;
}

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
}

// "host", "host:port", "[v6]:port", with an optional "http://" in front and "/" behind.
std::optional<ProxyServer> ParseServer(std::string_view text) {
  if (StartsWithIgnoringCase(text, "http://")) text.remove_prefix(7);
  if (!text.empty() && text.back() == '/') text.remove_suffix(1);
  ProxyServer server;
  size_t hostEnd;
  if (!text.empty() && text.front() == '[') {
    hostEnd = text.find(']');
    if (hostEnd == std::string_view::npos) return std::nullopt;
    const std::string_view inside = text.substr(1, hostEnd - 1);
    if (inside.empty() || inside.find_first_not_of("0123456789abcdefABCDEF:.") != std::string_view::npos)
      return std::nullopt;
    ++hostEnd;
  } else {
    hostEnd = std::min(text.find(':'), text.size());
    for (const char c : text.substr(0, hostEnd)) {
      if (!IsHostCharacter(c)) return std::nullopt;
    }
  }
  server.host = text.substr(0, hostEnd);
  if (server.host.empty()) return std::nullopt;
  if (hostEnd == text.size()) return server;
  if (text[hostEnd] != ':') return std::nullopt;
  const std::string_view digits = text.substr(hostEnd + 1);
  unsigned port = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  if (error != std::errc() || end != digits.data() + digits.size() || port == 0 || port > 65535) return std::nullopt;
  server.port = static_cast<uint16_t>(port);
  return server;
}

bool WildcardMatch(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(text[t]))) {
      ++p, ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++, starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1, t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::optional<ProxyServer> ProxyForHttp(std::string_view setting) {
  if (setting.size() > kMaxSetting) return std::nullopt;
  for (const std::string_view entry : Entries(setting)) {
    const size_t equals = entry.find('=');
    if (equals == std::string_view::npos) return ParseServer(entry);
    if (StartsWithIgnoringCase(entry, "http=")) return ParseServer(entry.substr(equals + 1));
  }
  return std::nullopt;
}

bool BypassesProxy(std::string_view bypassList, std::string_view host) {
  if (bypassList.size() > kMaxSetting) return false;
  for (std::string_view entry : Entries(bypassList)) {
    if (StartsWithIgnoringCase(entry, "<local>")) {
      if (entry.size() == 7 && host.find_first_of(".:") == std::string_view::npos) return true;
      continue;
    }
    if (StartsWithIgnoringCase(entry, "http://")) entry.remove_prefix(7);
    if (WildcardMatch(entry, host)) return true;
  }
  return false;
}

bool AutoDetectRequested(std::string_view connectionSettings) {
  constexpr size_t kFlagsAt = 8;
  constexpr unsigned char kAutoDetectFlag = 0x08;
  return connectionSettings.size() >= kFlagsAt + 4 &&
         (static_cast<unsigned char>(connectionSettings[kFlagsAt]) & kAutoDetectFlag) != 0;
}

std::optional<ProxyServer> ChooseProxy(const ProxySettings& settings, std::string_view host,
                                       const std::function<std::optional<std::string>()>& evaluate) {
  if (settings.autoDetect || !settings.autoConfigUrl.empty()) {
    const std::optional<std::string> list = evaluate();
    return list ? ProxyForHttp(*list) : std::nullopt;
  }
  if (!settings.manual || BypassesProxy(settings.bypass, host)) return std::nullopt;
  return ProxyForHttp(settings.server);
}
