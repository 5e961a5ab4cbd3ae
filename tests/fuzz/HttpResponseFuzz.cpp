// Feeds arbitrary server bytes, cut into arbitrary receives, through the response-head
// handling and the redirect URL splitting.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "retrieval/http/HttpResponse.h"
#include "retrieval/http/HttpUrl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte picks the receive size, as recv may return any count.
  const size_t receiveSize = 1 + data[0] % 64;
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

  ResponseHeadCollector collector;
  ResponseHeadCollector::State state = ResponseHeadCollector::State::Collecting;
  size_t fed = 0;
  while (state == ResponseHeadCollector::State::Collecting && fed < input.size()) {
    const std::string_view piece = input.substr(fed, receiveSize);
    state = collector.Add(piece);
    fed += piece.size();
  }
  if (state != ResponseHeadCollector::State::Complete) return 0;

  const std::string_view head = collector.Head();
  if (head.size() > kMaxResponseHead || head.substr(head.size() - 4) != "\r\n\r\n") std::abort();
  if (std::string(head).append(collector.Rest()) != input.substr(0, fed)) std::abort();

  const ResponseVerdict first = JudgeFirstResponse(head);
  const ResponseVerdict resumed = JudgeResumedResponse(head, 600);
  if (first.contentLength < 0) std::abort();
  if (resumed.action == ResponseAction::ContinueRange && ReadRangeStart(head) != 600) std::abort();
  if (resumed.action == ResponseAction::Redirect || resumed.action == ResponseAction::Accept) std::abort();
  if (first.action == ResponseAction::Redirect) {
    std::string host = "host", path = "dowfile/a.rar";
    int32_t port = 80;
    SplitUrl(first.location, host, path, port);
    if (port != 80 && port != 443) std::abort();
  }
  return 0;
}
