#include "HostResponder.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <thread>

namespace {

constexpr int kSplitPauseMs = 30;
constexpr int kResetPauseMs = 300;  // lets the client read what was sent before the reset
constexpr int kStallLimitMs = 120000;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool SendBytes(int connection, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

// Clients read the number only; the reason is the same word for every status.
std::string StatusLine(int status) {
  return "HTTP/1.1 " + std::to_string(status) + " Test\r\n";
}

std::string LengthLine(const HostBehaviour& b, int64_t length) {
  if (b.length == "none") return {};
  return (b.length == "lower" ? "content-length: " : "Content-Length: ") + std::to_string(length) + "\r\n";
}

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

std::string RedirectTarget(const HostRequest& request, const HostBehaviour& b, std::string_view name) {
  if (b.redirect == "endless") return request.target;
  std::string target = "/dowfile/" + std::string(name) + "?redirect=none";
  for (const std::string& option : b.kept) target += "&" + option;
  if (b.redirect == "hostless") return "http://" + target;
  if (b.redirect == "absolute") {
    return "http://" + (b.redirectHost.empty() ? request.host : b.redirectHost) + target;
  }
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

void EndConnection(int connection, const HostBehaviour& b) {
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

void AnswerStatus(int connection, const HostBehaviour& b, int status) {
  const std::string text = std::to_string(status) + "\n";
  SendHead(connection, b, StatusLine(status) + "Content-Length: " + std::to_string(text.size()) + "\r\n\r\n");
  SendBytes(connection, text);
}

}  // namespace

void AnswerFileRequest(int connection, const HostRequest& request, const HostBehaviour& b, const std::string& root) {
  const std::string_view name = std::string_view(request.path).substr(request.path.rfind('/') + 1);
  if (b.delayMs > 0) Pause(b.delayMs);
  if (b.silent) return HoldConnection(connection);
  if (b.status != 0) return AnswerStatus(connection, b, b.status);
  if (!b.redirect.empty() && b.redirect != "none") {
    SendHead(connection, b, StatusLine(302) + "Location: " + RedirectTarget(request, b, name) + "\r\nContent-Length: 0\r\n\r\n");
    return;
  }

  const std::string filePath = root + "/" + std::string(name);
  struct stat info;
  const int file = name.empty() || name == ".." ? -1 : open(filePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0 || fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (file >= 0) close(file);
    return AnswerStatus(connection, b, 404);
  }
  const int64_t size = info.st_size;

  int status = 200;
  int64_t start = 0;
  if (request.rangeStart && b.range != 200) {
    status = b.range;
    start = b.from >= 0 ? b.from : *request.rangeStart;
    if (status != 206 || start >= size) {
      close(file);
      return AnswerStatus(connection, b, status == 206 ? 416 : status);
    }
  }

  std::string head = StatusLine(status);
  if (status == 206) {
    if (b.contentRange != "none") {
      head += "Content-Range: bytes " + std::to_string(start) + "-" + std::to_string(size - 1) + "/" + std::to_string(size) + "\r\n";
    }
    head += LengthLine(b, size - start);
  } else {
    head += LengthLine(b, b.announce >= 0 ? b.announce : size);
  }
  if (b.pad > 0) head += "X-Padding: " + std::string(static_cast<size_t>(b.pad), 'x') + "\r\n";
  head += "Content-Type: application/octet-stream\r\n\r\n";

  int64_t end = size;
  for (const int64_t limit : {b.cut, b.reset, b.stall}) {
    if (limit >= 0) end = std::min(end, start + limit);
  }
  if (SendHead(connection, b, head) && SendBody(connection, file, start, end, b) &&
      SendBytes(connection, std::string(static_cast<size_t>(b.extra), 'x'))) {
    EndConnection(connection, b);
  }
  close(file);
}
