#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <thread>
#include <vector>

#include "TestFiles.h"
#include "retrieval/http/ConnectFirst.h"
#include "retrieval/http/HttpDownload.h"
#include "retrieval/http/HttpProgress.h"
#include "retrieval/http/HttpRequestText.h"
#include "retrieval/http/HttpResponse.h"
#include "retrieval/http/HttpUrl.h"
#include "state/DownloadState.h"

namespace {

using namespace testfiles;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Each URL split over "keep", "old" and 443: relative locations keep the host and port.
TEST(HttpUrl, SplitUrlSeparatesHostPathAndPort) {
  const auto split = [](std::string_view url, std::string host, int32_t port) {
    std::string path = "old";
    SplitUrl(url, host, path, port);
    return host + " " + path + " " + std::to_string(port);
  };
  const std::pair<std::string_view, std::string> cases[] = {
      {"http://example.com/dowfile/188.rar", "example.com dowfile/188.rar 80"},
      {"  hTTpS://Host/Dir/F  ", "Host Dir/F 443"},
      {"http://", "  80"},
      {"http:// spaced /  p  ", "spaced p 80"},
      // A port in the authority is not recognised; the host text keeps it.
      {"http://127.0.0.1:8080/x", "127.0.0.1:8080 x 80"},
      {"/x/y.rar", "keep x/y.rar 443"},
      {"http://other/z", "other z 80"},
  };
  for (const auto& [url, parts] : cases) EXPECT_EQ(split(url, "keep", 443), parts) << url;
  // Without a host yet, a URL without a scheme starts with one.
  EXPECT_EQ(split("host/dir/file", "", 0), "host dir/file 80");
}

TEST(HttpUrl, ResumeRequestCarriesOffsetsBeyondTwoGigabytes) {
  EXPECT_EQ(BuildResumeRequest("h", "p", 3221225472LL),
            "GET /p HTTP/1.0\r\nHost: h\r\nConnection: close\r\nRange: bytes=3221225472-\r\n"
            "User-Agent: GetHTTP 0.0\r\n\r\n");
}

// What a misbehaving server does to a whole download is in the download table below; these
// are the forms no server there writes, as the first answer and as one to a resumption at 600.
TEST(HttpResponse, Verdicts) {
  using enum ResponseAction;
  // Resumed or first, the head, the verdict, the length (a resumed answer never changes the
  // total announced first).
  const std::tuple<bool, std::string_view, ResponseAction, int64_t> cases[] = {
      {false, "http/1.0 204 No Content\r\n\r\n", Accept, 0},
      {false, "HTTP/1.0 206 P\r\nContent-Range: bytes 0-4/9\r\nContent-Length: 5\r\n\r\n", Accept, 5},
      // A part that is not the file's start, or does not say where it starts, is no first body.
      {false, "HTTP/1.0 206 Partial\r\nContent-Range: bytes 4-8/9\r\n\r\n", Reject, 0},
      {false, "HTTP/1.0 206 Partial\r\nContent-Length: 5\r\n\r\n", Reject, 0},
      // A redirect without a place to go cannot be followed.
      {false, "HTTP/1.1 302 Found\r\n\r\n", Reject, 0},
      {false, "HTTP/2 200 OK\r\n\r\n", Reject, 0},
      {false, "HTTP/1.0 407 Proxy Auth\r\nProxy-Authenticate: Basic\r\n\r\n", ProxyLogin, 0},
      {false, "HTTP/1.1 2\r\n\r\n", Reject, 0},
      // The length is the number the line starts with, rounded; none, or a negative one, is 0.
      {false, "HTTP/1.0 200 OK\r\nContent-Length:    42abc\r\n\r\n", Accept, 42},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: 3221225472\r\n\r\n", Accept, 3221225472LL},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: 10.5\r\n\r\n", Accept, 11},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", Accept, INT64_MAX},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\n", Accept, 0},
      {false, "HTTP/1.0 200 OK\r\nContent-Length: \r\n\r\n", Accept, 0},
      {true, "http/1.0 206 x\r\ncontent-range:bytes  600-\r\n\r\n", ContinueRange, 0},
      {true, "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes */1000\r\n\r\n", Reject, 0},
      {true, "HTTP/1.1 206 Partial Content\r\nX-Content-Range: bytes 600-999/1000\r\n\r\n", Reject, 0},
      {true, "HTTP/1.1 302 Found\r\nLocation: /a\r\n\r\n", Reject, 0},
      {true, "HTTP/1.1 204 No Content\r\n\r\n", Reject, 0},
  };
  for (const auto& [resumed, head, action, length] : cases) {
    const ResponseVerdict verdict = resumed ? JudgeResumedResponse(head, 600) : JudgeFirstResponse(head);
    EXPECT_EQ(verdict.action, action) << head;
    EXPECT_EQ(verdict.contentLength, length) << head;
  }
}

TEST(HttpProgress, NoticesAreMoreThan300MillisecondsApart) {
  // The first one always, whatever the clock says; 0x10 is 32 ms after 0xFFFFFFF0, across the
  // wrap, and 0x11D 301 ms.
  const std::pair<uint32_t, bool> steps[] = {{5, true},          {305, false},        {306, true},
                                             {606, false},       {0xFFFFFFF0u, true}, {0x00000010u, false},
                                             {0x0000011Du, true}};
  ProgressPacer pacer;
  for (const auto& [now, due] : steps) EXPECT_EQ(pacer.Due(now), due) << now;
}

// A whole request: its first lines, then the range line if any among the fixed ones.
std::string RequestText(const std::string& start, const std::string& range = "") {
  return start + "Connection: close\r\n" + (range.empty() ? "" : range + "\r\n") + "User-Agent: GetHTTP 0.0\r\n\r\n";
}

// tests/servers' test-host on an ephemeral 127.0.0.1 port, for one test. The shell prints its
// own id before it becomes the host, so that the host can be stopped by that id.
class TestHostProcess {
 public:
  TestHostProcess(const std::string& root, const std::string& log) {
    const char* fromEnvironment = std::getenv("TEST_HOST_PROGRAM");
    const std::string program = fromEnvironment != nullptr ? fromEnvironment : TEST_HOST_PATH;
    const std::string options = " --root " + Quoted(root) + " --log " + Quoted(log) + " --listen 127.0.0.1:0";
    lines_ = popen(("echo $$; exec " + Quoted(program) + options).c_str(), "r");
    char line[256];
    while (lines_ != nullptr && std::fgets(line, sizeof line, lines_) != nullptr && std::string(line) != "ready\n") {
      if (pid_ == 0) pid_ = std::atoi(line);
      std::sscanf(line, "listening 127.0.0.1:%hu", &port_);
    }
    if (port_ == 0) throw std::runtime_error("cannot start " + program);
  }
  ~TestHostProcess() {
    kill(pid_, SIGTERM);
    pclose(lines_);
  }
  uint16_t Port() const { return port_; }

 private:
  FILE* lines_ = nullptr;
  pid_t pid_ = 0;
  uint16_t port_ = 0;
};

struct RecordingSink : DownloadSink {
  struct Report {
    int64_t written, total;
    Clock::time_point at;
  };
  void OnProgress(int64_t written, int64_t total) override { reports.push_back({written, total, Clock::now()}); }
  std::vector<Report> reports;
};

class HttpDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir_ / "served" / "file.bin", data_);
    WriteBytes(dir_ / "served" / "big.bin", RandomBytes(64 * 1024, 2));
    host_ = std::make_unique<TestHostProcess>((dir_ / "served").string(), log_);
  }

  void TearDown() override {
    host_.reset();
    DownloadState = kDownloadIdle;
  }

  // The requests the host saw, split at their empty lines.
  std::vector<std::string> Requests() const {
    std::vector<std::string> requests;
    const std::string log = ReadBytes(log_);
    for (size_t at = 0, end; (end = log.find("\r\n\r\n", at)) != std::string::npos; at = end + 4) {
      requests.push_back(log.substr(at, end + 4 - at));
    }
    return requests;
  }

  // host1, host2 and "proxy" all reach the test host, and so does the empty name, which the
  // system resolves to this computer; "refused" is port 1 on loopback, where nothing
  // listens, and "refused-first" has that address before the test host's; anything else is
  // unresolved. The host "proxy" is asked through itself as the proxy, port 3128.
  DownloadRequest MakeRequest(const std::string& url, const std::string& output) {
    DownloadRequest request{.url = url, .outputPath = output, .progress = &sink_};
    request.settings.silenceLimitMs = 5000;
    const uint16_t port = host_->Port();
    request.settings.lookup = [port](const std::string& host, uint16_t) {
      std::vector<SocketAddress> addresses;
      if (host == "refused" || host == "refused-first") addresses = ResolveHost("127.0.0.1", 1);
      if (host == "host1" || host == "host2" || host.empty() || host == "refused-first" || host == "proxy") {
        addresses.push_back(ResolveHost("127.0.0.1", port).at(0));
      }
      return addresses;
    };
    request.settings.proxyFor = [](const std::string&, const std::string& host) {
      return host == "proxy" ? std::optional<ProxyServer>({"proxy", 3128}) : std::nullopt;
    };
    return request;
  }

  DownloadRequest Fetch(const std::string& target, int silenceLimitMs = 5000) {
    DownloadRequest request = MakeRequest("http://host1" + target, output_);
    request.settings.silenceLimitMs = silenceLimitMs;
    HttpDownload(&request);
    EXPECT_EQ(DownloadState.load(), kDownloadIdle);
    return request;
  }

  void Control(const std::string& options) {
    DownloadRequest request = MakeRequest("http://host1/__control?" + options, "");
    HttpDownload(&request);
    ASSERT_EQ(request.body, "ok\n");
  }

  ScratchFolder scratch_;
  const fs::path dir_ = scratch_.Path();
  const std::string log_ = (dir_ / "requests.log").string(), output_ = (dir_ / "out.bin.tmp").string();
  const std::string data_ = RandomBytes(1000, 1);
  std::unique_ptr<TestHostProcess> host_;
  RecordingSink sink_;
};

TEST_F(HttpDownloadTest, ResponsesAndTheirOutcomes) {
  struct Case {
    std::string query;
    int64_t result;
    bool fileKept;
    size_t requests;
    std::string rangeLine;  // of the last request, when it resumed
    int silenceLimitMs = 5000;
    std::string control = "";  // set on the host first
  } cases[] = {
      {"", 1000, true, 1, ""},
      {"split=7", 1000, true, 1, ""},
      {"pad=60000", 1000, true, 1, ""},
      {"length=lower", 1, true, 1, ""},
      {"length=none", 1, true, 1, ""},
      {"redirect=relative", 1000, true, 2, ""},
      {"redirect=absolute&to=host2", 1000, true, 2, ""},
      // The body ends early or the connection fails: the rest is fetched from 600 on.
      {"cut=600", 1000, true, 2, "Range: bytes=600-"},
      {"reset=600", 1000, true, 2, "Range: bytes=600-"},
      {"reset=1000", 1000, true, 1, ""},
      // Nothing past the announced length is taken, and that length ends the transfer
      // whether or not the server then closes.
      {"extra=300", 1000, true, 1, ""},
      {"stall=1000", 1000, true, 1, ""},
      // Silence in the body is a broken connection.
      {"stall=600", 1000, true, 2, "Range: bytes=600-", 300},
      // A host that says nothing got nowhere, without a text: the next host may be tried.
      {"silent=1", 0, false, 1, "", 300},
      {"redirect=hostless", 0, false, 1, ""},
      {"status=404", 0, false, 1, ""},
      {"redirect=endless", 0, false, 6, ""},
      {"pad=70000", 0, false, 1, ""},
      // A resumed answer that is neither 206 nor 200 is not body data.
      {"cut=600&range=404", 0, false, 2, "Range: bytes=600-"},
      // Nor is a 206 that does not say it starts where the file stands.
      {"cut=600&from=500", 0, false, 2, "Range: bytes=600-"},
      {"cut=600&contentrange=none", 0, false, 2, "Range: bytes=600-"},
      // Announced more than the server has: the resumption is refused.
      {"announce=1500", 0, false, 2, "Range: bytes=1000-"},
      // Given up once three resumed connections in a row brought nothing new.
      {"cut=0", 0, false, 4, "Range: bytes=0-"},
      // A whole answer to a range rewrites the file from its start.
      {"range=200", 1000, true, 2, "Range: bytes=600-", 5000, "once=1&cut=600"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    if (!c.control.empty()) Control(c.control);
    WriteBytes(log_, "");
    WriteBytes(output_, std::string(5000, 'z'));  // an earlier output file goes first
    const std::string target = "/dowfile/file.bin" + (c.query.empty() ? "" : "?" + c.query);
    const DownloadRequest request = Fetch(target, c.silenceLimitMs);
    EXPECT_EQ(request.result, c.result);
    EXPECT_EQ(request.errorText, "");
    EXPECT_EQ(fs::exists(output_), c.fileKept);
    if (c.fileKept) {
      EXPECT_EQ(ReadBytes(output_), data_);
    }
    // Every request byte for byte: the first, and the last when it resumed.
    const std::vector<std::string> requests = Requests();
    ASSERT_EQ(requests.size(), c.requests);
    const std::string requestStart = "GET " + target + " HTTP/1.0\r\nHost: host1\r\n";
    EXPECT_EQ(requests.front(), RequestText(requestStart));
    if (!c.rangeLine.empty()) {
      EXPECT_EQ(requests.back(), RequestText(requestStart, c.rangeLine));
    }
  }
}

// A host that cannot be reached leaves its reason for the caller, who shows it only when no
// other host can be reached; an answer, even a refusal, means it was reached.
TEST_F(HttpDownloadTest, SetupFailuresAndUnreachedHosts) {
  const std::string proxyLogin =
      "代理服务器 proxy:3128 要求输入用户名和密码才能上网，\r\n本安装程序不能登录代理服务器。\r\n\r\n"
      "请让网络管理员放行，或换一个可以直接上网的网络再试。";
  struct Case {
    std::string url;
    int64_t result;
    std::string text;
    bool reached = false;
    std::string unreached = "", options = "";
    std::string output = "out.bin.tmp";  // in the scratch folder
  } cases[] = {
      {"http://", 4, "网址无效!!"},
      {"http://unknown/dowfile/file.bin", 0, ""},
      {"http://refused/dowfile/file.bin", 0, "", false, " 连接到主机出错:111\r\n可能被杀毒软件拦截了"},
      {"http://refused-first/dowfile/file.bin", 1000, "", true},
      {"http://host1/dowfile/file.bin", 0, "", true, "", "", "no-such-dir/out"},  // an output file that cannot be made
      {"http://host1/dowfile/file.bin", 0, "", true, "", "status=404"},
      // A 407 straight from a host is a refusal like any other; the proxy's 407 to a tunnel for
      // https:// is a login (to plain http://: the downloads suite).
      {"http://host1/dowfile/file.bin", 0, "", true, "", "status=407"},
      {"https://proxy/dowfile/file.bin", 0, "", false, proxyLogin, "proxy=login"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url + "?" + c.options + " to " + c.output);
    Control(c.options);
    WriteBytes(output_, "left over");
    DownloadRequest request = MakeRequest(c.url, (dir_ / c.output).string());
    HttpDownload(&request);
    EXPECT_EQ(request.result, c.result);
    EXPECT_EQ(request.errorText, c.text);
    EXPECT_EQ(request.reached, c.reached);
    EXPECT_EQ(request.unreachedText, c.unreached);
    EXPECT_EQ(fs::exists(dir_ / c.output), c.result == 1000);
  }
}

// Through a proxy: the whole URL on the request line, the proxy asked for each host of a
// redirect, and a resumption that goes the same way.
TEST_F(HttpDownloadTest, ThroughAProxyTheRequestLineCarriesTheUrl) {
  const std::string far = "http://far.away/a/file.bin?redirect=absolute&to=direct.host&cut=600";
  const std::string direct = "http://direct.host/dowfile/file.bin?redirect=none&cut=600";
  DownloadRequest request = MakeRequest(far, output_);
  std::vector<std::string> asked;
  request.settings.proxyFor = [&asked](const std::string& url, const std::string& host) -> std::optional<ProxyServer> {
    asked.push_back(url);
    if (host == "direct.host") return ProxyServer{"proxy", 8080};
    return ProxyServer{"proxy", 3128};
  };
  HttpDownload(&request);
  EXPECT_EQ(request.result, 1000);
  EXPECT_EQ(asked, (std::vector<std::string>{far, direct}));
  const std::vector<std::string> requests = Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0], RequestText("GET " + far + " HTTP/1.0\r\nHost: far.away\r\n"));
  EXPECT_EQ(requests[2], RequestText("GET " + direct + " HTTP/1.0\r\nHost: direct.host\r\n", "Range: bytes=600-"));
}

// Stands in for TLS: bytes pass unchanged, so the test host sees what goes inside the session.
// Each session answers gStart and notes the host it was started for.
SecureStart gStart = SecureStart::Secured;
std::vector<std::string> gStarted;

class PassThroughSession : public SecureStream {
 public:
  explicit PassThroughSession(ByteStream& wire) : wire_(wire) {}
  SecureStart Start(const std::string& host, int, int, bool (*)()) override {
    gStarted.push_back(host);
    return gStart;
  }
  bool SendAll(std::string_view bytes, int waitMs) override { return wire_.SendAll(bytes, waitMs); }
  int Receive(char* buffer, size_t size, int waitMs) override { return wire_.Receive(buffer, size, waitMs); }

 private:
  ByteStream& wire_;
};

// https:// goes through a session of its own per connection, started for the URL's host,
// with the plain request inside (through a proxy, inside its tunnel); a session that fails,
// or a step down to http://, is that host's failure, and a refused certificate or
// handshake names it.
TEST_F(HttpDownloadTest, HttpsGoesThroughASessionPerConnectionAndNeverDown) {
  const std::string untrusted2 = "无法验证证书，与这个主机的连接不可信：\r\nhost2";
  const std::string toHost2 = "http://host1/dowfile/file.bin?redirect=secure&to=host2";
  const std::string inside = "GET /dowfile/file.bin?cut=600 HTTP/1.0\r\nHost: host1\r\n";
  const std::string tunnel = "CONNECT proxy:443 HTTP/1.0\r\nHost: proxy:443\r\n\r\n";
  const struct {
    std::string url;
    SecureStart start;
    int64_t result;
    std::vector<std::string> started;
    std::string untrusted, firstRequest = "";
  } cases[] = {
      {"https://host1/dowfile/file.bin?cut=600", SecureStart::Secured, 1000, {"host1", "host1"}, "", inside},
      {toHost2, SecureStart::Secured, 1000, {"host2"}, ""},
      {toHost2, SecureStart::Untrusted, 0, {"host2"}, untrusted2},
      {toHost2, SecureStart::Broken, 0, {"host2"}, ""},
      {"https://host2/dowfile/file.bin?redirect=absolute&to=host1", SecureStart::Secured, 0, {"host2"}, untrusted2},
      {"https://proxy/dowfile/file.bin", SecureStart::Secured, 1000, {"proxy"}, "", tunnel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    WriteBytes(log_, "");
    gStart = c.start;
    gStarted.clear();
    DownloadRequest request = MakeRequest(c.url, output_);
    request.settings.secureStreams = [](ByteStream& wire) -> std::unique_ptr<SecureStream> {
      return std::make_unique<PassThroughSession>(wire);
    };
    HttpDownload(&request);
    EXPECT_EQ(request.result, c.result);
    EXPECT_EQ(gStarted, c.started);
    EXPECT_EQ(request.untrustedText, c.untrusted);
    EXPECT_EQ(request.unreachedText, "");
    EXPECT_EQ(Requests().front().rfind(c.firstRequest, 0), 0u) << Requests().front();
  }
}

TEST_F(HttpDownloadTest, MemoryModeKeepsTheBodyAcrossAResumption) {
  DownloadRequest request = MakeRequest("http://host1/dowfile/file.bin?reset=600", "");
  HttpDownload(&request);
  EXPECT_EQ(request.result, 1000);
  EXPECT_EQ(request.body, data_);
  EXPECT_TRUE(sink_.reports.empty());
}

// Reports count body bytes against the whole announced length, however large, and come more
// than 300 ms apart.
TEST_F(HttpDownloadTest, ProgressCountsBodyBytesOfTheAnnouncedLengthAndIsPaced) {
  EXPECT_EQ(Fetch("/dowfile/file.bin?announce=3221225472").result, 0);  // the server cannot deliver the rest
  ASSERT_FALSE(sink_.reports.empty());
  EXPECT_EQ(sink_.reports.front().written, 1000);
  EXPECT_EQ(sink_.reports.front().total, 3221225472LL);
  sink_.reports.clear();
  ASSERT_EQ(Fetch("/dowfile/big.bin?slow=60&piece=2048").result, 64 * 1024);
  ASSERT_GE(sink_.reports.size(), 2u);
  EXPECT_EQ(sink_.reports.front().written, 2048);
  for (size_t i = 1; i < sink_.reports.size(); ++i) {
    EXPECT_GT(sink_.reports[i].at - sink_.reports[i - 1].at, 300ms);
    EXPECT_GT(sink_.reports[i].written, sink_.reports[i - 1].written);
    EXPECT_EQ(sink_.reports[i].total, 64 * 1024);
  }
}

TEST_F(HttpDownloadTest, CancelEndsAStalledTransferOrOneNotYetStarted) {
  // With a minute's silence allowed, only the cancel can end this transfer without a text.
  DownloadRequest request = MakeRequest("http://host1/dowfile/file.bin?stall=600", output_);
  request.settings.silenceLimitMs = 60000;
  std::thread worker(HttpDownload, &request);
  while (!fs::exists(output_) || fs::file_size(output_) < 600) std::this_thread::sleep_for(10ms);
  DownloadState = kDownloadCancelRequested;
  worker.join();
  EXPECT_EQ(request.result, 0);
  EXPECT_EQ(request.errorText, "");
  EXPECT_FALSE(fs::exists(output_));
  EXPECT_EQ(DownloadState.load(), kDownloadIdle);

  // A cancel made before the start is kept: the host is not even asked.
  WriteBytes(log_, "");
  DownloadState = kDownloadCancelRequested;
  EXPECT_EQ(Fetch("/dowfile/file.bin").result, 0);
  EXPECT_TRUE(Requests().empty());
}

// A loopback listener with a full queue: connections to it get no answer at all, as from a
// host that drops them.
struct SilentListener {
  SilentListener() : socket(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in bound{AF_INET, 0, {inet_addr("127.0.0.1")}, {}};
    socklen_t size = sizeof bound;
    bind(socket, reinterpret_cast<sockaddr*>(&bound), size);
    listen(socket, 0);
    getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &size);
    address = ResolveHost("127.0.0.1", ntohs(bound.sin_port)).at(0);
    for (TcpSocket& filler : fillers) {
      if (filler.Create(AF_INET) && filler.StartConnect(address)) filler.WaitConnected(1000);
    }
  }
  ~SilentListener() { close(socket); }
  int socket;
  SocketAddress address;
  TcpSocket fillers[2];
};

TEST_F(HttpDownloadTest, ConnectionsGoToTheFirstAddressThatAnswersInTime) {
  const SilentListener silent;
  const SocketAddress good = ResolveHost("127.0.0.1", host_->Port()).at(0), refused = ResolveHost("127.0.0.1", 1).at(0),
                      v6 = ResolveHost("[::1]", 1).at(0);
  // The least time taken: each silent address costs the whole wait.
  const std::tuple<std::vector<SocketAddress>, ConnectEnd, int, int> cases[] = {
      {{refused, silent.address, good}, ConnectEnd::Connected, 0, 400},
      {{v6, good}, ConnectEnd::Connected, 0, 0},
      {{refused, v6}, ConnectEnd::ConnectFailed, ECONNREFUSED, 0},
      {{refused, silent.address}, ConnectEnd::ConnectFailed, ETIMEDOUT, 400},
      {{}, ConnectEnd::ConnectFailed, 0, 0},
  };
  for (const auto& [addresses, end, error, leastMs] : cases) {
    SCOPED_TRACE(addresses.size());
    TcpSocket socket;
    const auto start = Clock::now();
    const ConnectOutcome outcome = ConnectToFirst(socket, addresses, 400, 100);
    const auto took = Clock::now() - start;
    EXPECT_EQ(outcome.end, end);
    EXPECT_EQ(outcome.error, error);
    EXPECT_GE(took, std::chrono::milliseconds(leastMs - 2));  // whole-ms ticks
    EXPECT_LT(took, std::chrono::milliseconds(leastMs + 300));
    EXPECT_EQ(socket.IsOpen(), end == ConnectEnd::Connected);
  }
}

}  // namespace
