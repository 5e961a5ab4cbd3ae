#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reading a response head, kept apart from the sockets so that it can be tested and fuzzed.

// A head longer than this is refused rather than collected without end.
constexpr size_t kMaxResponseHead = 64 * 1024;

// Gathers a response head that may arrive over several receives.
class ResponseHeadCollector {
 public:
  enum class State { Collecting, Complete, TooLarge };

  // Adds received bytes. Once Complete, Head() ends with the empty line and Rest() holds the
  // body bytes that came with it.
  State Add(std::string_view bytes);
  std::string_view Head() const { return std::string_view(bytes_).substr(0, headSize_); }
  std::string_view Rest() const { return std::string_view(bytes_).substr(headSize_); }
  void Reset();

 private:
  std::string bytes_;
  size_t headSize_ = 0;
};

enum class ResponseAction {
  Redirect,       // 30x with a location to follow
  Accept,         // 20x: the body follows
  ContinueRange,  // 206 whose range starts at the requested offset: the body continues there
  Restart,        // 200 to a resume request: the whole body again, from offset 0
  ProxyLogin,     // 407: the proxy in between wants a user name and password
  Reject,         // anything else
};

struct ResponseVerdict {
  ResponseAction action = ResponseAction::Reject;
  int64_t contentLength = 0;  // of an accepted first response; 0 when absent or unreadable
  std::string location;       // for Redirect
};

// A 206 is body data only when its Content-Range starts where the file stands: at 0 for the
// first response, at `offset` for a resumed one; else its bytes would land in the wrong place.
ResponseVerdict JudgeFirstResponse(std::string_view head);
// The total announced first stays the total, whatever a resumed response announces.
ResponseVerdict JudgeResumedResponse(std::string_view head, int64_t offset);

// The decimal value after "Content-Length:" (leading spaces skipped, rounded to the nearest
// whole number, saturating); 0 when the line is missing or holds no number.
int64_t ReadContentLength(std::string_view head);

// The first position of "Content-Range: bytes N-M/T" (the name in any letter case); -1 when
// the line is missing or does not start with a number followed by "-".
int64_t ReadRangeStart(std::string_view head);
