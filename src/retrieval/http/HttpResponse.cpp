#include "retrieval/http/HttpResponse.h"

#include <cstdint>
#include <limits>

#include "platform/AsciiText.h"
#include "platform/TextSearch.h"

namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";

// The first `length` bytes with ASCII letters upper-cased.
std::string UpperPrefix(std::string_view head, size_t length) { return UpperAscii(head.substr(0, length)); }

bool StatusClassIs(std::string_view head, std::string_view statusStart) {
  const std::string prefix = UpperPrefix(head, 9 + statusStart.size());
  return prefix == std::string("HTTP/1.1 ").append(statusStart) ||
         prefix == std::string("HTTP/1.0 ").append(statusStart);
}

// The value of the header line `name`, the name compared in any letter case.
std::string_view HeaderValue(std::string_view head, std::string_view name) {
  for (size_t at = head.find("\r\n"); at != std::string_view::npos && at + 2 < head.size();) {
    at += 2;
    const size_t end = head.find("\r\n", at);
    const std::string_view line = head.substr(at, end - at);
    if (line.size() > name.size() && line[name.size()] == ':' &&
        UpperPrefix(line, name.size()) == UpperPrefix(name, name.size())) {
      return line.substr(name.size() + 1);
    }
    at = end;
  }
  return {};
}

bool RangeStartsAt(std::string_view head, int64_t offset) { return offset >= 0 && ReadRangeStart(head) == offset; }

}  // namespace

ResponseHeadCollector::State ResponseHeadCollector::Add(std::string_view bytes) {
  // The end marker may straddle the previous receive.
  const size_t searchFrom = bytes_.size() < 3 ? 0 : bytes_.size() - 3;
  bytes_.append(bytes);
  const size_t end = bytes_.find(kHeadEnd, searchFrom);
  if (end != std::string::npos && end + kHeadEnd.size() <= kMaxResponseHead) {
    headSize_ = end + kHeadEnd.size();
    return State::Complete;
  }
  return bytes_.size() >= kMaxResponseHead ? State::TooLarge : State::Collecting;
}

void ResponseHeadCollector::Reset() {
  bytes_.clear();
  headSize_ = 0;
}

int64_t ReadContentLength(std::string_view head) {
  const std::string value = TextBetween(head, "Content-Length:", "\r\n");
  size_t at = value.find_first_not_of(' ');
  if (at == std::string::npos) return 0;
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t number = 0;
  for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at) {
    const int digit = value[at] - '0';
    number = number > (kMax - digit) / 10 ? kMax : number * 10 + digit;
  }
  if (at + 1 < value.size() && value[at] == '.' && value[at + 1] >= '5' && value[at + 1] <= '9' && number < kMax) {
    ++number;
  }
  return number;
}

int64_t ReadRangeStart(std::string_view head) {
  std::string_view value = HeaderValue(head, "Content-Range");
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  if (UpperPrefix(value, 6) != "BYTES ") return -1;
  value.remove_prefix(6);
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t start = 0;
  size_t at = 0;
  for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at) {
    const int digit = value[at] - '0';
    if (start > (kMax - digit) / 10) return -1;
    start = start * 10 + digit;
  }
  return at > 0 && at < value.size() && value[at] == '-' ? start : -1;
}

ResponseVerdict JudgeFirstResponse(std::string_view head) {
  ResponseVerdict verdict;
  if (StatusClassIs(head, "30")) {
    verdict.location = TextBetween(head, "Location: ", "\r\n");
    // A redirect without a target cannot be followed.
    if (!verdict.location.empty()) verdict.action = ResponseAction::Redirect;
  } else if (StatusClassIs(head, "20") && (!StatusClassIs(head, "206") || RangeStartsAt(head, 0))) {
    verdict.action = ResponseAction::Accept;
    verdict.contentLength = ReadContentLength(head);
  } else if (StatusClassIs(head, "407")) {
    verdict.action = ResponseAction::ProxyLogin;
  }
  return verdict;
}

ResponseVerdict JudgeResumedResponse(std::string_view head, int64_t offset) {
  ResponseVerdict verdict;
  if (StatusClassIs(head, "206")) {
    if (RangeStartsAt(head, offset)) verdict.action = ResponseAction::ContinueRange;
  } else if (StatusClassIs(head, "200")) {
    verdict.action = ResponseAction::Restart;
  }
  return verdict;
}
