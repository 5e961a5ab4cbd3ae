#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// How the test host answers a file request. Set for all later requests with
// GET /__control?<options> (only for the next one with once=1), or for one request with the
// same options in its query:
//   status=N           answer with status N and no file
//   redirect=relative|absolute|secure|endless|hostless   302 to /dowfile/<name> (absolute:
//                      http://<to>/..., secure: https://<to>/..., hostless: http:///...),
//                      or back to the same URL;
//                      to=HOST names the absolute target's host
//   length=none|lower  no Content-Length line, or one written "content-length:"
//   announce=N         announce N bytes whatever the file's size
//   cut=N              close the connection after N body bytes (the body ends short)
//   reset=N            reset the connection after N body bytes (the receive fails)
//   stall=N            stop sending after N body bytes and keep the connection open
//   range=N            answer a Range request with 206 (the default), 200 (whole file) or N
//   from=N             a 206 sends the file from byte N on (saying so), whatever was asked
//   contentrange=none  a 206 without its Content-Range line
//   extra=N            N filler bytes after the body, beyond the announced length
//   silent=1           read the request and never answer, holding the connection
//   host=NAME          (with /__control) the other options apply to requests whose Host
//                      line is NAME, beside those set for other names; without it they
//                      apply to every host and replace all earlier settings
//   split=N            write the head in pieces of N bytes
//   slow=MS, piece=N   pause MS milliseconds after every N body bytes
//   delay=MS           pause MS milliseconds before answering at all
//   pad=N              add a header line of N filler bytes to the head
//   proxy=login|only   answer a request made as to a proxy (the whole URL on the request
//                      line) with 407; or answer 403 to one that came neither so nor through
//                      a proxy (which adds a "Via:" line). A CONNECT is answered 407 with
//                      login, else 200, and the request that follows on it is served.
struct HostBehaviour {
  std::string redirect, redirectHost, length, contentRange, onlyHost, proxy;
  int64_t status = 0, announce = -1, cut = -1, reset = -1, stall = -1, range = 206, from = -1, extra = 0, silent = 0,
          once = 0, split = 0, slowMs = 0, piece = 65536, delayMs = 0, pad = 0;
  // The options as given, without redirect and to, for a redirect target to keep.
  std::vector<std::string> kept;
};

// Applies "key=value&key=value" to `b`; false on an unknown key or a bad number.
inline bool ApplyOptions(std::string_view query, HostBehaviour& b) {
  using H = HostBehaviour;
  const std::pair<std::string_view, std::string H::*> texts[] = {
      {"redirect", &H::redirect},         {"to", &H::redirectHost}, {"length", &H::length},
      {"contentrange", &H::contentRange}, {"host", &H::onlyHost},   {"proxy", &H::proxy}};
  // Numbers with the least value each may take.
  constexpr int64_t kAny = INT64_MIN;
  const std::tuple<std::string_view, int64_t H::*, int64_t> numbers[] = {
      {"status", &H::status, kAny}, {"announce", &H::announce, kAny}, {"cut", &H::cut, kAny},
      {"reset", &H::reset, kAny},   {"stall", &H::stall, kAny},       {"range", &H::range, kAny},
      {"from", &H::from, 0},        {"extra", &H::extra, 0},          {"silent", &H::silent, kAny},
      {"once", &H::once, kAny},     {"split", &H::split, 0},          {"slow", &H::slowMs, 0},
      {"piece", &H::piece, 1},      {"delay", &H::delayMs, 0},        {"pad", &H::pad, 0}};
  while (!query.empty()) {
    const std::string_view option = query.substr(0, query.find('&'));
    query.remove_prefix(std::min(query.size(), option.size() + 1));
    const size_t equals = option.find('=');
    if (option.empty()) continue;
    if (equals == std::string_view::npos) return false;
    const std::string_view key = option.substr(0, equals), value = option.substr(equals + 1);
    bool known = false;
    for (const auto& [name, field] : texts) {
      if (key == name) b.*field = value, known = true;
    }
    for (const auto& [name, field, least] : numbers) {
      if (key != name) continue;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), b.*field);
      if (error != std::errc() || end != value.data() + value.size() || b.*field < least) return false;
      known = true;
    }
    if (!known) return false;
    if (key != "redirect" && key != "to") b.kept.emplace_back(option);
  }
  return true;
}
