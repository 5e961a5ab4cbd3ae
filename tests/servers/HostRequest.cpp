#include "HostRequest.h"

#include <poll.h>
#include <strings.h>
#include <sys/socket.h>

#include <charconv>
#include <string_view>

namespace {

constexpr size_t kMaxRequestHead = 16 * 1024;
constexpr int kRequestWaitMs = 10000;

// The value of the header line `name` (any letter case), without leading spaces.
std::string HeaderValue(std::string_view head, std::string_view name) {
  size_t lineStart = head.find("\r\n");
  while (lineStart != std::string_view::npos && lineStart + 2 < head.size()) {
    lineStart += 2;
    const size_t lineEnd = head.find("\r\n", lineStart);
    const std::string_view line = head.substr(lineStart, lineEnd - lineStart);
    if (line.size() > name.size() && line[name.size()] == ':' &&
        strncasecmp(line.data(), name.data(), name.size()) == 0) {
      std::string_view value = line.substr(name.size() + 1);
      while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
      return std::string(value);
    }
    lineStart = lineEnd;
  }
  return {};
}

std::optional<int64_t> RangeStart(std::string_view value) {
  constexpr std::string_view kPrefix = "bytes=";
  if (value.substr(0, kPrefix.size()) != kPrefix || value.back() != '-') return std::nullopt;
  int64_t start = 0;
  const char* first = value.data() + kPrefix.size();
  const char* last = value.data() + value.size() - 1;
  const auto [end, error] = std::from_chars(first, last, start);
  if (error != std::errc() || end != last) return std::nullopt;
  return start;
}

}  // namespace

bool ReadHostRequest(int connection, HostRequest& request) {
  char buffer[4096];
  size_t headEnd;
  while ((headEnd = request.raw.find("\r\n\r\n")) == std::string::npos) {
    pollfd entry{connection, POLLIN, 0};
    if (request.raw.size() > kMaxRequestHead || poll(&entry, 1, kRequestWaitMs) <= 0) return false;
    const ssize_t received = recv(connection, buffer, sizeof buffer, 0);
    if (received <= 0) return false;
    request.raw.append(buffer, static_cast<size_t>(received));
  }
  request.raw.resize(headEnd + 4);

  const std::string_view head = request.raw;
  const size_t firstSpace = head.find(' ');
  const size_t secondSpace = head.find(' ', firstSpace + 1);
  if (firstSpace == std::string_view::npos || secondSpace == std::string_view::npos) return false;
  request.target = head.substr(firstSpace + 1, secondSpace - firstSpace - 1);
  const size_t question = request.target.find('?');
  request.path = request.target.substr(0, question);
  if (question != std::string::npos) request.query = request.target.substr(question + 1);
  request.host = HeaderValue(head, "Host");
  const std::string range = HeaderValue(head, "Range");
  if (!range.empty()) request.rangeStart = RangeStart(range);
  return true;
}
