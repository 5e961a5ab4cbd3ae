#include "retrieval/http/HttpResponse.h"

#include <cstdint>
#include <limits>

#include "support/AsciiText.h"
#include "support/TextSearch.h"

namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";

// The first `length` bytes with ASCII letters upper-cased.
std::string UpperPrefix(std::string_view head, size_t length) { return UpperAscii(head.substr(0, length)); }

bool StatusClassIs(std::string_view head, std::string_view statusStart) {
  const std::string prefix = UpperPrefix(head, 9 + statusStart.size());
  return prefix == std::string("HTTP/1.1 ").append(statusStart) ||
         prefix == std::string("HTTP/1.0 ").append(statusStart);
}

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

ResponseVerdict JudgeFirstResponse(std::string_view head) {
  ResponseVerdict verdict;
  if (StatusClassIs(head, "30")) {
    verdict.location = TextBetween(head, "Location: ", "\r\n");
    // A redirect without a target cannot be followed.
    if (!verdict.location.empty()) verdict.action = ResponseAction::Redirect;
  } else if (StatusClassIs(head, "20")) {
    verdict.action = ResponseAction::Accept;
    verdict.contentLength = ReadContentLength(head);
  }
  return verdict;
}

ResponseVerdict JudgeResumedResponse(std::string_view head) {
  ResponseVerdict verdict;
  if (StatusClassIs(head, "206")) {
    verdict.action = ResponseAction::ContinueRange;
  } else if (StatusClassIs(head, "200")) {
    verdict.action = ResponseAction::Restart;
  }
  return verdict;
}
