#include "retrieval/http/HttpResponse.h"

#include <gtest/gtest.h>

TEST(HttpResponse, FirstResponseVerdicts) {
  struct Case {
    std::string_view head;
    ResponseAction action;
    int64_t length;
    std::string_view location;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n", ResponseAction::Accept, 1000, ""},
      {"http/1.0 204 No Content\r\n\r\n", ResponseAction::Accept, 0, ""},
      {"HTTP/1.0 206 Partial\r\nContent-Range: bytes 0-4/9\r\nContent-Length: 5\r\n\r\n", ResponseAction::Accept, 5, ""},
      // A part that is not the file's start, or does not say where it starts, is no first body.
      {"HTTP/1.0 206 Partial\r\nContent-Range: bytes 4-8/9\r\n\r\n", ResponseAction::Reject, 0, ""},
      {"HTTP/1.0 206 Partial\r\nContent-Length: 5\r\n\r\n", ResponseAction::Reject, 0, ""},
      {"HTTP/1.1 200 OK\r\ncontent-length: 1000\r\n\r\n", ResponseAction::Accept, 0, ""},
      {"HTTP/1.1 302 Found\r\nLocation: /x/y.rar\r\n\r\n", ResponseAction::Redirect, 0, "/x/y.rar"},
      // A redirect without a place to go cannot be followed.
      {"HTTP/1.1 302 Found\r\n\r\n", ResponseAction::Reject, 0, ""},
      {"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\n", ResponseAction::Reject, 0, ""},
      {"HTTP/2 200 OK\r\n\r\n", ResponseAction::Reject, 0, ""},
      {"HTTP/1.1 2\r\n\r\n", ResponseAction::Reject, 0, ""},
  };
  for (const Case& c : cases) {
    const ResponseVerdict verdict = JudgeFirstResponse(c.head);
    EXPECT_EQ(verdict.action, c.action) << c.head;
    EXPECT_EQ(verdict.contentLength, c.length) << c.head;
    EXPECT_EQ(verdict.location, c.location) << c.head;
  }
}

TEST(HttpResponse, ResumedResponseVerdicts) {
  struct Case {
    std::string_view head;
    ResponseAction action;
  } cases[] = {
      {"HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 600-999/1000\r\n\r\n", ResponseAction::ContinueRange},
      {"http/1.0 206 x\r\ncontent-range:bytes  600-\r\n\r\n", ResponseAction::ContinueRange},
      {"HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-999/1000\r\n\r\n", ResponseAction::Reject},
      {"HTTP/1.1 206 Partial Content\r\nContent-Range: bytes */1000\r\n\r\n", ResponseAction::Reject},
      {"HTTP/1.1 206 Partial Content\r\nX-Content-Range: bytes 600-999/1000\r\n\r\n", ResponseAction::Reject},
      {"HTTP/1.1 206 Partial Content\r\n\r\n", ResponseAction::Reject},
      {"HTTP/1.1 200 OK\r\n\r\n", ResponseAction::Restart},
      {"HTTP/1.1 302 Found\r\nLocation: /a\r\n\r\n", ResponseAction::Reject},
      {"HTTP/1.1 204 No Content\r\n\r\n", ResponseAction::Reject},
  };
  for (const Case& c : cases) EXPECT_EQ(JudgeResumedResponse(c.head, 600).action, c.action) << c.head;
}

TEST(HttpResponse, ContentLengthReading) {
  struct Case {
    std::string_view head;
    int64_t length;
  } cases[] = {
      {"Content-Length:1000\r\n", 1000},
      {"Content-Length:    42abc\r\n", 42},
      {"Content-Length: 3221225472\r\n", 3221225472LL},
      {"Content-Length: 10.5\r\n", 11},
      {"Content-Length: 99999999999999999999999\r\n", INT64_MAX},
      {"Content-Length: -5\r\n", 0},
      {"Content-Length: \r\n", 0},
      {"Content-Length: 7", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadContentLength(c.head), c.length) << c.head;
}
