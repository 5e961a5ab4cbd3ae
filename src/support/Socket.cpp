#include "support/Socket.h"

#ifdef _WIN32
#include <winsock2.h>
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

#ifdef _WIN32
using NativeSocket = SOCKET;
constexpr NativeSocket kNoSocket = INVALID_SOCKET;

SocketLibrary::SocketLibrary() {
  WSADATA data;
  started_ = WSAStartup(0x0101, &data) == 0;
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

uint32_t ResolveHost(const char* host) {
  const uint32_t address = inet_addr(host);
  if (address != INADDR_NONE) return address;
  const hostent* entry = gethostbyname(host);
  if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list[0] == nullptr) return 0;
  uint32_t first;
  std::memcpy(&first, entry->h_addr_list[0], sizeof first);
  return first;
}

bool TcpSocket::Create() {
  Close();
  const NativeSocket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
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

bool TcpSocket::StartConnect(uint32_t address, uint16_t port) {
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(port);
  target.sin_addr.s_addr = address;
  return connect(Native(handle_), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0 ||
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
