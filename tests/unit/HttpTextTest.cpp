#include <gtest/gtest.h>

#include "retrieval/http/HttpRequestText.h"
#include "retrieval/http/HttpResponse.h"
#include "retrieval/http/HttpUrl.h"

namespace {

TEST(HttpUrl, SplitUrlSeparatesHostPathAndPort) {
  struct Case {
    std::string_view url;
    std::string hostIn, pathIn;
    int32_t portIn;
    std::string host, path;
    int32_t port;
  } cases[] = {
      {"http://example.com/dowfile/188.rar", "", "", 0, "example.com", "dowfile/188.rar", 80},
      {"  hTTpS://Host/Dir/F  ", "", "", 0, "Host", "Dir/F", 443},
      {"host/dir/file", "", "", 0, "host", "dir/file", 80},
      {"http://", "", "", 0, "", "", 80},
      {"http:// spaced /  p  ", "", "", 0, "spaced", "p", 80},
      // A port in the authority is not recognised; the host text keeps it.
      {"http://127.0.0.1:8080/x", "", "", 0, "127.0.0.1:8080", "x", 80},
      // Relative locations keep the current host and port.
      {"/x/y.rar", "keep", "old", 443, "keep", "x/y.rar", 443},
      {"http://other/z", "keep", "old", 443, "other", "z", 80},
  };
  for (const Case& c : cases) {
    std::string host = c.hostIn, path = c.pathIn;
    int32_t port = c.portIn;
    SplitUrl(c.url, host, path, port);
    EXPECT_EQ(host, c.host) << c.url;
    EXPECT_EQ(path, c.path) << c.url;
    EXPECT_EQ(port, c.port) << c.url;
  }
}

TEST(HttpUrl, ResumeRequestCarriesOffsetsBeyondTwoGigabytes) {
  EXPECT_EQ(BuildResumeRequest("h", "p", 3221225472LL),
            "GET /p HTTP/1.0\r\nHost: h\r\nConnection: close\r\nRange: bytes=3221225472-\r\n"
            "User-Agent: GetHTTP 0.0\r\n\r\n");
}

// What a misbehaving server does to a whole download is in HttpDownloadTest's table; these
// are the forms no server there writes, as the first answer and as one to a resumption at 600.
TEST(HttpResponse, Verdicts) {
  struct Case {
    bool resumed;
    std::string_view head;
    ResponseAction action;
    int64_t length = 0;  // a resumed answer never changes the total announced first
  } cases[] = {
      {false, "http/1.0 204 No Content\r\n\r\n", ResponseAction::Accept},
      {false, "HTTP/1.0 206 Partial\r\nContent-Range: bytes 0-4/9\r\nContent-Length: 5\r\n\r\n", ResponseAction::Accept, 5},
      // A part that is not the file's start, or does not say where it starts, is no first body.
      {false, "HTTP/1.0 206 Partial\r\nContent-Range: bytes 4-8/9\r\n\r\n", ResponseAction::Reject},
      {false, "HTTP/1.0 206 Partial\r\nContent-Length: 5\r\n\r\n", ResponseAction::Reject},
      // A redirect without a place to go cannot be followed.
      {false, "HTTP/1.1 302 Found\r\n\r\n", ResponseAction::Reject},
      {false, "HTTP/2 200 OK\r\n\r\n", ResponseAction::Reject},
      {false, "HTTP/1.0 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic\r\n\r\n", ResponseAction::ProxyLogin},
      {false, "HTTP/1.1 2\r\n\r\n", ResponseAction::Reject},
      // The length is the number the line starts with, rounded; none, or a negative one, is 0.
      {false, "HTTP/1.0 200 OK\r\nContent-Length:1000\r\n\r\n", ResponseAction::Accept, 1000},
      {false, "HTTP/1.0 200 OK\r\nContent-Length:    42abc\r\n\r\n", ResponseAction::Accept, 42},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: 3221225472\r\n\r\n", ResponseAction::Accept, 3221225472LL},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: 10.5\r\n\r\n", ResponseAction::Accept, 11},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", ResponseAction::Accept, INT64_MAX},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\n", ResponseAction::Accept},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: \r\n\r\n", ResponseAction::Accept},
      {true, "http/1.0 206 x\r\ncontent-range:bytes  600-\r\n\r\n", ResponseAction::ContinueRange},
      {true, "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes */1000\r\n\r\n", ResponseAction::Reject},
      {true, "HTTP/1.1 206 Partial Content\r\nX-Content-Range: bytes 600-999/1000\r\n\r\n", ResponseAction::Reject},
      {true, "HTTP/1.1 302 Found\r\nLocation: /a\r\n\r\n", ResponseAction::Reject},
      {true, "HTTP/1.1 204 No Content\r\n\r\n", ResponseAction::Reject},
  };
  for (const Case& c : cases) {
    const ResponseVerdict verdict = c.resumed ? JudgeResumedResponse(c.head, 600) : JudgeFirstResponse(c.head);
    EXPECT_EQ(verdict.action, c.action) << c.head;
    EXPECT_EQ(verdict.contentLength, c.length) << c.head;
  }
}

}  // namespace
