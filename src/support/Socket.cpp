#include "support/Socket.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstring>
#include <string>

#ifdef _WIN32
using NativeSocket = SOCKET;
constexpr NativeSocket kNoSocket = INVALID_SOCKET;

SocketLibrary::SocketLibrary() {
  WSADATA data;
  started_ = WSAStartup(0x0202, &data) == 0;
}
SocketLibrary::~SocketLibrary() {
  if (started_) WSACleanup();
}

int LastSocketError() { return WSAGetLastError(); }
int TimedOutSocketError() { return WSAETIMEDOUT; }
static bool WouldBlock() {
  const int error = WSAGetLastError();
  return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS;
}
static void CloseNative(NativeSocket s) { closesocket(s); }
static bool MakeNonBlocking(NativeSocket s) {
  u_long on = 1;
  return ioctlsocket(s, FIONBIO, &on) == 0;
}
static void SetSocketError(int error) { WSASetLastError(error); }
using OptionLength = int;
constexpr int kSendFlags = 0;
constexpr int kShutdownBoth = SD_BOTH;

// select() with a single socket; `writable` also watches for a failed connect, which
// WinSock reports in the exception set.
static int WaitFor(NativeSocket s, bool writable, int waitMs) {
  fd_set ready, failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(s, &ready);
  FD_SET(s, &failed);
  timeval limit{waitMs / 1000, (waitMs % 1000) * 1000};
  const int count = select(0, writable ? nullptr : &ready, writable ? &ready : nullptr, &failed, &limit);
  if (count > 0 && FD_ISSET(s, &failed)) {
    int error = 0;
    int size = sizeof error;
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    SetSocketError(error ? error : WSAECONNREFUSED);
    return -1;
  }
  return count;
}
#else
using NativeSocket = int;
constexpr NativeSocket kNoSocket = -1;

SocketLibrary::SocketLibrary() : started_(true) {}
SocketLibrary::~SocketLibrary() = default;

int LastSocketError() { return errno; }
int TimedOutSocketError() { return ETIMEDOUT; }
static bool WouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINPROGRESS; }
static void CloseNative(NativeSocket s) { close(s); }
static bool MakeNonBlocking(NativeSocket s) { return fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK) == 0; }
static void SetSocketError(int error) { errno = error; }
using OptionLength = socklen_t;
// A peer that has gone must give an error, not SIGPIPE.
constexpr int kSendFlags = MSG_NOSIGNAL;
constexpr int kShutdownBoth = SHUT_RDWR;

static int WaitFor(NativeSocket s, bool writable, int waitMs) {
  pollfd entry{s, static_cast<short>(writable ? POLLOUT : POLLIN), 0};
  int count;
  do {
    count = poll(&entry, 1, waitMs);
  } while (count < 0 && errno == EINTR);
  return count;
}
#endif

static NativeSocket Native(intptr_t handle) { return static_cast<NativeSocket>(handle); }

std::vector<SocketAddress> ResolveHost(std::string_view host, uint16_t port) {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  std::vector<SocketAddress> found;
  // A name with a zero byte in it would resolve as its first part.
  if (host.empty() || host.find('\0') != std::string_view::npos) return found;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* list = nullptr;
  if (getaddrinfo(std::string(host).c_str(), std::to_string(port).c_str(), &hints, &list) != 0) return found;
  for (const addrinfo* entry = list; entry != nullptr && found.size() < kMaxHostAddresses; entry = entry->ai_next) {
    const bool known = entry->ai_family == AF_INET || entry->ai_family == AF_INET6;
    if (!known || entry->ai_addrlen > sizeof(SocketAddress::bytes)) continue;
    SocketAddress address;
    address.family = entry->ai_family;
    address.length = static_cast<unsigned>(entry->ai_addrlen);
    std::memcpy(address.bytes, entry->ai_addr, entry->ai_addrlen);
    found.push_back(address);
  }
  freeaddrinfo(list);
  return found;
}

bool TcpSocket::Create(int family) {
  Close();
  const NativeSocket s = socket(family, SOCK_STREAM, IPPROTO_TCP);
  if (s == kNoSocket) return false;
  handle_ = static_cast<intptr_t>(s);
  if (!MakeNonBlocking(s)) {
    const int error = LastSocketError();
    Close();
    SetSocketError(error);
    return false;
  }
  return true;
}

bool TcpSocket::IsOpen() const { return Native(handle_) != kNoSocket; }

void TcpSocket::Close() {
  if (!IsOpen()) return;
  shutdown(Native(handle_), kShutdownBoth);
  CloseNative(Native(handle_));
  handle_ = static_cast<intptr_t>(kNoSocket);
}

bool TcpSocket::StartConnect(const SocketAddress& address) {
  return connect(Native(handle_), reinterpret_cast<const sockaddr*>(address.bytes), static_cast<int>(address.length)) ==
             0 ||
         WouldBlock();
}

WaitResult TcpSocket::WaitConnected(int waitMs) {
  const int count = WaitFor(Native(handle_), true, waitMs);
  if (count == 0) return WaitResult::TimedOut;
  if (count < 0) return WaitResult::Failed;
  int error = 0;
  OptionLength size = sizeof error;
  getsockopt(Native(handle_), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
  if (error == 0) return WaitResult::Ready;
  SetSocketError(error);
  return WaitResult::Failed;
}

bool TcpSocket::SendAll(std::string_view bytes, int waitMs) {
  while (!bytes.empty()) {
    const int sent = send(Native(handle_), bytes.data(), static_cast<int>(bytes.size()), kSendFlags);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
      continue;
    }
    if (sent < 0 && !WouldBlock()) return false;
    const int count = WaitFor(Native(handle_), true, waitMs);
    if (count == 0) SetSocketError(TimedOutSocketError());
    if (count <= 0) return false;
  }
  return true;
}

int TcpSocket::Receive(char* buffer, size_t size, int waitMs) {
  int received = recv(Native(handle_), buffer, static_cast<int>(size), 0);
  if (received >= 0 || !WouldBlock()) return received < 0 ? -1 : received;
  const int count = WaitFor(Native(handle_), false, waitMs);
  if (count == 0) return kNothingYet;
  if (count < 0) return -1;
  received = recv(Native(handle_), buffer, static_cast<int>(size), 0);
  if (received < 0 && WouldBlock()) return kNothingYet;
  return received < 0 ? -1 : received;
}
