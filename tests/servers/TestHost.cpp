// test-host: a small HTTP/1.x file server for the download tests, which misbehaves on request.
//   test-host --root DIR [--log FILE] --listen ADDRESS:PORT [--listen ...]
// Serves DIR's files under any path ending in the file name. Port 0 takes a free port; each
// listener prints "listening ADDRESS:PORT", then "ready" follows. Every request except the
// control requests is appended to FILE byte for byte. See HostBehaviour.h for the options.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "HostBehaviour.h"

namespace {

constexpr size_t kMaxRequestHead = 16 * 1024;
constexpr int kRequestWaitMs = 10000;
constexpr int kSplitPauseMs = 30;
constexpr int kResetPauseMs = 300;  // lets the client read what was sent before the reset
constexpr int kStallLimitMs = 120000;

std::string gRoot;
std::string gLogPath;
std::mutex gMutex;                              // guards gSteered and the log
std::map<std::string, HostBehaviour> gSteered;  // by Host line; "" for every host

struct HostRequest {
  std::string raw;     // every byte up to and including the empty line
  std::string target;  // as written on the request line: path and query
  std::string path, query;
  std::string host;                   // the Host line's value
  std::optional<int64_t> rangeStart;  // from "Range: bytes=N-"
  bool proxied = false;               // asked for as a proxy is, with the whole URL
  bool forwarded = false;             // with a "Via:" line that a proxy adds
};

void Pause(int64_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The value of the header line `name` (any letter case), without leading spaces.
std::string HeaderValue(const std::string& head, std::string name) {
  std::string lower = head;
  for (std::string* text : {&lower, &name}) std::transform(text->begin(), text->end(), text->begin(), ::tolower);
  const size_t line = lower.find("\r\n" + name + ":");
  if (line == std::string::npos) return {};
  const size_t value = head.find_first_not_of(' ', line + name.size() + 3);
  return head.substr(value, head.find("\r\n", value) - value);
}

// Reads and parses the request head from the connection; false when it never completes.
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
  const size_t firstSpace = request.raw.find(' '), secondSpace = request.raw.find(' ', firstSpace + 1);
  if (secondSpace == std::string::npos) return false;
  request.target = request.raw.substr(firstSpace + 1, secondSpace - firstSpace - 1);
  // As a proxy it is asked for whole URLs; it serves them itself, whatever the name.
  request.proxied = request.target.rfind("http://", 0) == 0;
  if (request.proxied) {
    const size_t pathStart = request.target.find('/', 7);
    request.target = pathStart == std::string::npos ? "/" : request.target.substr(pathStart);
  }
  const size_t question = request.target.find('?');
  request.path = request.target.substr(0, question);
  if (question != std::string::npos) request.query = request.target.substr(question + 1);
  request.host = HeaderValue(request.raw, "Host");
  request.forwarded = !HeaderValue(request.raw, "Via").empty();
  const std::string range = HeaderValue(request.raw, "Range");
  int64_t start = 0;
  const auto [end, error] =
      std::from_chars(range.c_str() + std::min<size_t>(6, range.size()), range.c_str() + range.size(), start);
  if (range.rfind("bytes=", 0) == 0 && error == std::errc() && std::string_view(end) == "-") request.rangeStart = start;
  return true;
}

bool SendBytes(int connection, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

// Clients read the number only; the reason is the same word for every status.
std::string StatusLine(int64_t status) { return "HTTP/1.1 " + std::to_string(status) + " Test\r\n"; }

bool SendHead(int connection, const HostBehaviour& b, std::string_view head) {
  if (b.split <= 0) return SendBytes(connection, head);
  const int on = 1;
  setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  for (size_t at = 0; at < head.size(); at += static_cast<size_t>(b.split)) {
    if (at > 0) Pause(kSplitPauseMs);
    if (!SendBytes(connection, head.substr(at, static_cast<size_t>(b.split)))) return false;
  }
  return true;
}

// A status with a short text, by default its number; the control requests' answers too.
void AnswerText(int connection, const HostBehaviour& b, int64_t status, std::string text = {}) {
  if (text.empty()) text = std::to_string(status) + "\n";
  if (SendHead(connection, b, StatusLine(status) + "Content-Length: " + std::to_string(text.size()) + "\r\n\r\n")) {
    SendBytes(connection, text);
  }
  shutdown(connection, SHUT_WR);
}

std::string RedirectTarget(const HostRequest& request, const HostBehaviour& b, std::string_view name) {
  if (b.redirect == "endless") return request.target;
  std::string target = "/dowfile/" + std::string(name) + "?redirect=none";
  for (const std::string& option : b.kept) target += "&" + option;
  if (b.redirect == "hostless") return "http://" + target;
  const std::string& host = b.redirectHost.empty() ? request.host : b.redirectHost;
  if (b.redirect == "absolute") return "http://" + host + target;
  if (b.redirect == "secure") return "https://" + host + target;
  return target;
}

// Sends file bytes [start, end) in pieces, paced as asked.
bool SendBody(int connection, int file, int64_t start, int64_t end, const HostBehaviour& b) {
  std::string piece;
  for (int64_t at = start; at < end;) {
    piece.resize(static_cast<size_t>(std::min(b.piece, end - at)));
    const ssize_t got = pread(file, piece.data(), piece.size(), at);
    if (got <= 0 || !SendBytes(connection, std::string_view(piece.data(), static_cast<size_t>(got)))) return false;
    at += got;
    if (b.slowMs > 0 && at < end) Pause(b.slowMs);
  }
  return true;
}

// Keeps the connection open until the client gives up on it.
void HoldConnection(int connection) {
  pollfd entry{connection, POLLIN, 0};
  poll(&entry, 1, kStallLimitMs);
}

void AnswerFileRequest(int connection, const HostRequest& request, const HostBehaviour& b) {
  const std::string_view name = std::string_view(request.path).substr(request.path.rfind('/') + 1);
  if (b.delayMs > 0) Pause(b.delayMs);
  if (b.proxy == "login" && request.proxied) return AnswerText(connection, b, 407);
  if (b.proxy == "only" && !request.proxied && !request.forwarded) return AnswerText(connection, b, 403);
  if (b.silent) return HoldConnection(connection);
  if (b.status != 0) return AnswerText(connection, b, b.status);
  if (!b.redirect.empty() && b.redirect != "none") {
    SendHead(connection, b,
             StatusLine(302) + "Location: " + RedirectTarget(request, b, name) + "\r\nContent-Length: 0\r\n\r\n");
    return;
  }

  struct stat info;
  const int file =
      name.empty() || name == ".." ? -1 : open((gRoot + "/" + std::string(name)).c_str(), O_RDONLY | O_CLOEXEC);
  int64_t status = file >= 0 && fstat(file, &info) == 0 && S_ISREG(info.st_mode) ? 200 : 404, start = 0;
  if (status == 200 && request.rangeStart && b.range != 200) {
    status = b.range;
    start = b.from >= 0 ? b.from : *request.rangeStart;
    if (status == 206 && start >= info.st_size) status = 416;
  }
  if (status != 200 && status != 206) {
    if (file >= 0) close(file);
    return AnswerText(connection, b, status);
  }
  const int64_t size = info.st_size;

  // Content-Length as asked: none, in lower case, or announcing another length.
  std::string head = StatusLine(status);
  int64_t length = b.announce >= 0 ? b.announce : size;
  if (status == 206) {
    if (b.contentRange != "none")
      head += "Content-Range: bytes " + std::to_string(start) + "-" + std::to_string(size - 1) + "/" +
              std::to_string(size) + "\r\n";
    length = size - start;
  }
  if (b.length != "none")
    head += (b.length == "lower" ? "content-length: " : "Content-Length: ") + std::to_string(length) + "\r\n";
  if (b.pad > 0) head += "X-Padding: " + std::string(static_cast<size_t>(b.pad), 'x') + "\r\n";
  head += "Content-Type: application/octet-stream\r\n\r\n";

  int64_t end = size;
  for (const int64_t limit : {b.cut, b.reset, b.stall}) {
    if (limit >= 0) end = std::min(end, start + limit);
  }
  if (SendHead(connection, b, head) && SendBody(connection, file, start, end, b) &&
      SendBytes(connection, std::string(static_cast<size_t>(b.extra), 'x'))) {
    if (b.reset >= 0) {
      Pause(kResetPauseMs);
      const linger abort{1, 0};
      setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    } else if (b.stall >= 0) {
      HoldConnection(connection);
    } else {
      shutdown(connection, SHUT_WR);
    }
  }
  close(file);
}

// Logs the request and gives the behaviour steered for its host (or for every host).
HostBehaviour Steered(const HostRequest& request) {
  std::lock_guard lock(gMutex);
  if (!gLogPath.empty()) std::ofstream(gLogPath, std::ios::binary | std::ios::app) << request.raw;
  auto steered = gSteered.find(request.host);
  if (steered == gSteered.end()) steered = gSteered.find("");
  if (steered == gSteered.end()) return {};
  const HostBehaviour behaviour = steered->second;
  if (behaviour.once) gSteered.erase(steered);
  return behaviour;
}

void Serve(int connection) {
  HostRequest request;
  HostBehaviour behaviour;
  const bool read = ReadHostRequest(connection, request);
  if (read && request.path == "/__control") {
    const bool valid = ApplyOptions(request.query, behaviour);
    if (valid) {
      std::lock_guard lock(gMutex);
      if (behaviour.onlyHost.empty()) gSteered.clear();
      gSteered[behaviour.onlyHost] = behaviour;
    }
    AnswerText(connection, {}, valid ? 200 : 400, valid ? "ok\n" : "bad options\n");
  } else if (read) {
    behaviour = Steered(request);
    // Asked for a tunnel as a proxy is: the request inside comes on the same connection.
    if (request.raw.rfind("CONNECT ", 0) == 0) {
      if (behaviour.proxy == "login") {
        AnswerText(connection, {}, 407);
        close(connection);
        return;
      }
      request = {};
      if (!SendBytes(connection, "HTTP/1.0 200 Connection established\r\n\r\n") ||
          !ReadHostRequest(connection, request)) {
        close(connection);
        return;
      }
      behaviour = Steered(request);
    }
    if (ApplyOptions(request.query, behaviour)) {
      AnswerFileRequest(connection, request, behaviour);
    } else {
      AnswerText(connection, {}, 400, "bad options\n");
    }
  }
  close(connection);
}

// ADDRESS:PORT, an IPv6 address in brackets ([::1]:80).
int Listen(const std::string& where) {
  const size_t colon = where.rfind(':');
  const std::string host = where.substr(where[0] == '[', where[0] == '[' ? colon - 2 : colon);
  addrinfo hints{}, *found = nullptr;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  hints.ai_socktype = SOCK_STREAM;
  if (colon == std::string::npos || getaddrinfo(host.c_str(), where.c_str() + colon + 1, &hints, &found) != 0) {
    std::fprintf(stderr, "test-host: bad listen address %s\n", where.c_str());
    return -1;
  }
  const int s = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in6 bound{};  // the port lies at the same place in both families
  socklen_t size = sizeof bound;
  const bool listening = bind(s, found->ai_addr, found->ai_addrlen) == 0 && listen(s, 64) == 0 &&
                         getsockname(s, reinterpret_cast<sockaddr*>(&bound), &size) == 0;
  freeaddrinfo(found);
  if (!listening) {
    std::fprintf(stderr, "test-host: cannot listen on %s: %s\n", where.c_str(), std::strerror(errno));
    close(s);
    return -1;
  }
  std::printf("listening %s:%u\n", where.substr(0, colon).c_str(), ntohs(bound.sin6_port));
  return s;
}

void AcceptLoop(int listener) {
  for (;;) {
    const int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) std::thread(Serve, connection).detach();
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> listens;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--root")
      gRoot = argv[i + 1];
    else if (option == "--log")
      gLogPath = argv[i + 1];
    else if (option == "--listen")
      listens.emplace_back(argv[i + 1]);
  }
  if (gRoot.empty() || listens.empty()) {
    std::fprintf(stderr, "usage: test-host --root DIR [--log FILE] --listen ADDRESS:PORT [--listen ...]\n");
    return 2;
  }
  std::vector<std::thread> loops;
  for (const std::string& where : listens) {
    const int listener = Listen(where);
    if (listener < 0) return 1;
    loops.emplace_back(AcceptLoop, listener);
  }
  std::printf("ready\n");
  std::fflush(stdout);
  for (std::thread& loop : loops) loop.join();
}
