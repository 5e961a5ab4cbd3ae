#include "retrieval/http/HttpRequestText.h"
#include "retrieval/http/HttpUrl.h"

#include <gtest/gtest.h>

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
