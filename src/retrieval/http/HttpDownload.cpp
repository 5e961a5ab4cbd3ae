#include "retrieval/http/HttpDownload.h"

#include <memory>
#include <string_view>
#include <vector>

#include "platform/File.h"
#include "platform/GbkText.h"
#include "retrieval/http/ConnectFirst.h"
#include "retrieval/http/HttpRequestText.h"
#include "retrieval/http/HttpResponse.h"
#include "retrieval/http/HttpUrl.h"
#include "state/DownloadState.h"
#include "support/Socket.h"

namespace {

// Large receives keep the transfer at the speed of the line: under Wine every receive is a
// round trip to the Wine server, so a fast link pays for each one. Each is still written to
// the file as soon as it arrives.
constexpr size_t kReceiveBufferSize = 1024 * 1024;
constexpr int kMaxRequests = 6;  // the first request and up to five redirections
// How often a wait looks at the cancel flag.
constexpr int kCancelPollMs = 100;
constexpr int kCancelled = -3;
constexpr int kSilent = -4;

constexpr char kSocketStartText[] = "初始化 WinSock 失败！！";
constexpr char kInvalidUrlText[] = "网址无效!!";
constexpr char kSocketPrefix[] = " 打开 socket出错:";
constexpr char kConnectPrefix[] = " 连接到主机出错:";
constexpr char kSendPrefix[] = "  HTTP 请求出错:";
constexpr char kResumeSocketPrefix[] = "续传 打开 socket出错:";
constexpr char kResumeConnectPrefix[] = "续传 连接到主机出错:";
constexpr char kResumeSendPrefix[] = "续传  HTTP 请求出错:";
constexpr char kBlockedHint[] = "\r\n可能被杀毒软件拦截了";
constexpr char kProxyLoginPrefix[] = "代理服务器 ";
constexpr char kProxyLoginSuffix[] =
    " 要求输入用户名和密码才能上网，\r\n本安装程序不能登录代理服务器。\r\n\r\n"
    "请让网络管理员放行，或换一个可以直接上网的网络再试。";
constexpr char kUntrustedPrefix[] = "无法验证证书，与这个主机的连接不可信：\r\n";

std::string SocketErrorText(const char* prefix, int error) {
  return std::string(prefix).append(std::to_string(error)).append(kBlockedHint);
}

// Where the body goes: the output file, or the request's body text in memory mode.
class BodyStore {
 public:
  BodyStore(const std::string& path, std::string& memory, File* keptFile)
      : path_(PathFromGbk(path)), memory_(memory), kept_(keptFile != nullptr), file_(kept_ ? *keptFile : ownFile_) {}

  bool IsFile() const { return !path_.empty(); }

  bool WriteAt(int64_t offset, std::string_view bytes) {
    if (!IsFile()) {
      memory_.resize(static_cast<size_t>(offset));
      memory_.append(bytes);
      return true;
    }
    return (file_.IsOpen() || (kept_ ? file_.CreateNew(path_) : file_.OpenWrite(path_))) &&
           file_.WriteAt(static_cast<uint64_t>(offset), bytes.data(), bytes.size());
  }

  // A kept file stays open for the caller.
  void Close() { ownFile_.Close(); }

  // After a failure nothing may remain under the output name.
  void Discard() {
    file_.Close();
    if (!IsFile()) {
      memory_.clear();
    } else {
      DeleteOld();
    }
  }

  // True when no file is left under the output name.
  bool DeleteOld() { return !FileExists(path_) || DeleteFileNamed(path_); }

 private:
  const NativePath path_;
  std::string& memory_;
  const bool kept_;
  File ownFile_;
  File& file_;
};

enum class PassEnd { Finished, Redirect, Failed };
enum class ChunkEnd { Continue, Complete, Redirect, Failed };

class Transfer {
 public:
  explicit Transfer(DownloadRequest& request)
      : request_(request), settings_(request.settings), store_(request.outputPath, request.body, request.keptFile) {}

  void Run() {
    const bool fetched = Fetch();
    store_.Close();
    if (fetched && !DownloadCancelRequested()) {
      request_.result = total_;
      request_.unreachedText.clear();
      return;
    }
    store_.Discard();
    request_.result = failureCode_;
  }

 private:
  bool Fail(int64_t code, std::string text = {}) {
    failureCode_ = code;
    request_.errorText = std::move(text);
    return false;
  }

  bool Fetch() {
    if (!EnterDownloadStep(kDownloadStartingSockets)) return false;
    SocketLibrary sockets;
    if (!sockets.Started()) return Fail(3, kSocketStartText);
    const bool fetched = FetchWithSockets();
    CloseConnection();
    return fetched;
  }

  bool FetchWithSockets() {
    SplitUrl(request_.url, host_, path_, port_);
    if (!EnterDownloadStep(kDownloadCheckingUrl)) return false;
    if (host_.empty()) return Fail(4, kInvalidUrlText);
    // Every call starts from an absent output file: offsets are only right in a fresh one.
    if (store_.IsFile() && !store_.DeleteOld()) return false;

    for (int requestCount = 1; requestCount <= kMaxRequests; ++requestCount) {
      const PassEnd end = RunPass();
      CloseConnection();
      if (end != PassEnd::Redirect) return end == PassEnd::Finished;
    }
    return false;
  }

  PassEnd RunPass() {
    if (!EnterDownloadStep(kDownloadResolving)) return PassEnd::Failed;
    // The user's proxy settings go by the scheme.
    std::string url = "https://" + host_ + "/" + path_;
    if (!Secure()) url.erase(4, 1);  // "http://"
    proxy_ = settings_.proxyFor ? settings_.proxyFor(url, host_) : std::nullopt;
    addresses_ = Lookup();
    if (addresses_.empty()) return PassEnd::Failed;
    if (!OpenConnection(BuildGetRequest(host_, path_, ProxyForwards()), false)) return PassEnd::Failed;
    if (!EnterDownloadStep(kDownloadReceiving)) return PassEnd::Failed;
    request_.body.clear();
    announced_ = 0;
    total_ = 0;
    resumed_ = false;
    awaitingHead_ = true;
    head_.Reset();
    return ReceiveResponse();
  }

  // The addresses of the proxy when there is one, else of the URL's host.
  std::vector<SocketAddress> Lookup() const {
    const std::string& host = proxy_ ? proxy_->host : host_;
    const uint16_t port = proxy_ ? proxy_->port : static_cast<uint16_t>(port_);
    if (settings_.lookup) return settings_.lookup(host, port);
    return ResolveHost(host, port);
  }

  // Connects and sends; a failure sets the step code and text (no code on a resumption). A
  // first connection that cannot be made leaves its text for the caller to show only when
  // no other host can be reached either.
  bool OpenConnection(const std::string& requestBytes, bool resuming) {
    CloseConnection();
    const ConnectOutcome connect = ConnectToFirst(socket_, addresses_, settings_.connectLimitMs, WaitSlice());
    if (connect.end == ConnectEnd::Cancelled) return false;
    if (connect.end == ConnectEnd::SocketFailed) {
      return Fail(resuming ? 0 : 6, SocketErrorText(resuming ? kResumeSocketPrefix : kSocketPrefix, connect.error));
    }
    if (connect.end == ConnectEnd::ConnectFailed) {
      if (resuming) return Fail(0, SocketErrorText(kResumeConnectPrefix, connect.error));
      request_.unreachedText = SocketErrorText(kConnectPrefix, connect.error);
      return Fail(0);
    }
    // Over TLS: through the proxy's tunnel when there is one, then the session.
    if (Secure() && !((!proxy_ || OpenTunnel()) && StartSecure(resuming))) return false;
    if (!EnterDownloadStep(kDownloadSending)) return false;
    if (!Stream().SendAll(requestBytes, settings_.silenceLimitMs)) {
      return Fail(resuming ? 0 : 8, SocketErrorText(resuming ? kResumeSendPrefix : kSendPrefix, LastSocketError()));
    }
    return true;
  }

  bool Secure() const { return port_ == kSecurePort; }
  // A plain request goes to the proxy whole; a secure one goes through its tunnel as to the host.
  bool ProxyForwards() const { return proxy_.has_value() && !Secure(); }

  // Requests and responses go through this alone.
  ByteStream& Stream() { return secure_ ? static_cast<ByteStream&>(*secure_) : socket_; }

  void CloseConnection() {
    secure_.reset();
    socket_.Close();
  }

  bool Untrusted() {
    request_.untrustedText = kUntrustedPrefix + host_;
    return Fail(0);
  }

  // Asks the proxy for a tunnel to the host; a refusal means the host was not reached.
  bool OpenTunnel() {
    if (!Stream().SendAll(BuildConnectRequest(host_), settings_.silenceLimitMs)) return Fail(0);
    head_.Reset();
    ResponseHeadCollector::State state = ResponseHeadCollector::State::Collecting;
    while (state == ResponseHeadCollector::State::Collecting) {
      const int received = ReceiveWithin(buffer_.data());
      if (received <= 0) return Fail(0);
      state = head_.Add(std::string_view(buffer_.data(), static_cast<size_t>(received)));
    }
    if (state == ResponseHeadCollector::State::TooLarge) return Fail(0);
    const ResponseAction action = JudgeFirstResponse(head_.Head()).action;
    if (action == ResponseAction::ProxyLogin) TellProxyLogin();
    // Nothing may come before the server's own handshake.
    return action == ResponseAction::Accept && head_.Rest().empty();
  }

  // The proxy's 407: told once no host could be reached.
  void TellProxyLogin() { request_.unreachedText = kProxyLoginPrefix + proxy_->Name() + kProxyLoginSuffix; }

  // A failed handshake or certificate is the host's failure; a broken connection is only that.
  bool StartSecure(bool resuming) {
    secure_ = settings_.secureStreams ? settings_.secureStreams(socket_) : nullptr;
    if (!secure_) return Untrusted();
    const SecureStart start = secure_->Start(host_, settings_.silenceLimitMs, WaitSlice(), DownloadCancelRequested);
    if (start == SecureStart::Secured) return true;
    secure_.reset();
    return start == SecureStart::Untrusted && !resuming ? Untrusted() : Fail(0);
  }

  int WaitSlice() const { return settings_.silenceLimitMs < kCancelPollMs ? settings_.silenceLimitMs : kCancelPollMs; }
  bool WaitedTooLong(uint32_t since) const {
    return ProgressTick() - since >= static_cast<uint32_t>(settings_.silenceLimitMs);
  }

  // Bytes received, 0 when closed, -1 on failure, kCancelled or kSilent (nothing within the limit).
  int ReceiveWithin(char* buffer) {
    const uint32_t start = ProgressTick();
    for (;;) {
      const int received = Stream().Receive(buffer, kReceiveBufferSize, WaitSlice());
      if (received != ByteStream::kNothingYet) return received;
      if (DownloadCancelRequested()) return kCancelled;
      if (WaitedTooLong(start)) return kSilent;
    }
  }

  PassEnd ReceiveResponse() {
    for (;;) {
      const int received = ReceiveWithin(buffer_.data());
      if (received == kCancelled) return PassEnd::Failed;
      // A server gone silent is a broken connection: before a status line the host got
      // nowhere (the next host may do better), in the body the rest is asked for again.
      if (received <= 0) {
        if (total_ == 0) return PassEnd::Failed;  // ended before a status line was accepted
        if (BodyComplete(received == 0)) return PassEnd::Finished;
        if (!Resume()) return PassEnd::Failed;
        continue;
      }
      const ChunkEnd end = HandleChunk(std::string_view(buffer_.data(), static_cast<size_t>(received)));
      if (end == ChunkEnd::Complete) return PassEnd::Finished;
      if (end == ChunkEnd::Redirect) return PassEnd::Redirect;
      if (end == ChunkEnd::Failed) return PassEnd::Failed;
      if (DownloadCancelRequested()) return PassEnd::Failed;
    }
  }

  // Without an announced length only the server's close marks the end of the body.
  bool BodyComplete(bool closedByPeer) const {
    if (announced_ > 0) return written_ >= announced_;
    return closedByPeer || written_ >= total_;
  }

  ChunkEnd HandleChunk(std::string_view chunk) {
    std::string_view body = chunk;
    if (awaitingHead_) {
      const ResponseHeadCollector::State state = head_.Add(chunk);
      if (state == ResponseHeadCollector::State::Collecting) return ChunkEnd::Continue;
      if (state == ResponseHeadCollector::State::TooLarge) return ChunkEnd::Failed;
      awaitingHead_ = false;
      const ChunkEnd verdict = AcceptHead();
      if (verdict != ChunkEnd::Continue) return verdict;
      body = head_.Rest();
    }
    // Whatever comes after the announced length is not part of the file.
    if (announced_ > 0 && static_cast<int64_t>(body.size()) > announced_ - written_) {
      body = body.substr(0, static_cast<size_t>(announced_ - written_));
    }
    if (!body.empty()) {
      if (!store_.WriteAt(written_, body)) return ChunkEnd::Failed;
      if (store_.IsFile() && request_.observer != nullptr) request_.observer->OnBodyWritten(written_, body);
      written_ += static_cast<int64_t>(body.size());
      if (store_.IsFile() && request_.progress != nullptr && pacer_.Due(ProgressTick())) {
        request_.progress->OnProgress(written_, total_);
      }
    }
    // Done once the announced length is in, whether or not the server closes.
    return announced_ > 0 && written_ >= announced_ ? ChunkEnd::Complete : ChunkEnd::Continue;
  }

  // Decides what the completed head means: Continue when its body follows.
  ChunkEnd AcceptHead() {
    if (resumed_) {
      const ResponseVerdict verdict = JudgeResumedResponse(head_.Head(), written_);
      if (verdict.action == ResponseAction::Restart) written_ = 0;
      const bool bodyFollows =
          verdict.action == ResponseAction::Restart || verdict.action == ResponseAction::ContinueRange;
      return bodyFollows ? ChunkEnd::Continue : ChunkEnd::Failed;
    }
    const ResponseVerdict verdict = JudgeFirstResponse(head_.Head());
    if (verdict.action == ResponseAction::ProxyLogin && proxy_) {
      TellProxyLogin();
      return ChunkEnd::Failed;
    }
    request_.reached = true;
    if (verdict.action == ResponseAction::Redirect) {
      // Never down from TLS to plain text: the host that asked for it fails.
      if (Secure() && IsPlainHttpUrl(verdict.location)) {
        Untrusted();
        return ChunkEnd::Failed;
      }
      SplitUrl(verdict.location, host_, path_, port_);
      // "http:///x" names no host; resolving the empty name would reach this computer.
      return host_.empty() ? ChunkEnd::Failed : ChunkEnd::Redirect;
    }
    if (verdict.action != ResponseAction::Accept) return ChunkEnd::Failed;
    announced_ = verdict.contentLength;
    total_ = announced_ > 0 ? announced_ : 1;
    written_ = 0;
    return ChunkEnd::Continue;
  }

  // Reconnects and asks for the rest of the body; gives up after a few tries that brought
  // no new bytes.
  bool Resume() {
    fruitlessResumptions_ = written_ > writtenAtLastResume_ ? 0 : fruitlessResumptions_ + 1;
    writtenAtLastResume_ = written_;
    if (fruitlessResumptions_ >= settings_.maxFruitlessResumptions || DownloadCancelRequested()) return false;
    if (!OpenConnection(BuildResumeRequest(host_, path_, written_, ProxyForwards()), true)) return false;
    resumed_ = true;
    awaitingHead_ = true;
    head_.Reset();
    return true;
  }

  DownloadRequest& request_;
  const DownloadSettings& settings_;
  BodyStore store_;
  TcpSocket socket_;
  std::unique_ptr<SecureStream> secure_;
  std::vector<char> buffer_ = std::vector<char>(kReceiveBufferSize);
  ResponseHeadCollector head_;
  ProgressPacer pacer_;
  std::string host_;
  std::string path_;
  int32_t port_ = 0;
  std::optional<ProxyServer> proxy_;
  std::vector<SocketAddress> addresses_;
  bool awaitingHead_ = true;
  bool resumed_ = false;
  int64_t announced_ = 0;  // "Content-Length:" of the accepted response, 0 when none
  int64_t total_ = 0;      // what a success reports: the announced length, or 1
  int64_t written_ = 0;    // body bytes stored; the offset of the next chunk
  int64_t writtenAtLastResume_ = -1;
  int fruitlessResumptions_ = 0;
  int64_t failureCode_ = 0;
};

}  // namespace

void HttpDownload(DownloadRequest* request) {
  Transfer(*request).Run();
  DownloadState.store(kDownloadIdle);
}
