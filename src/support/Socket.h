#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "support/ByteStream.h"

// A thin TCP layer over BSD sockets and WinSock 2, one branch per platform in Socket.cpp.
// Waits are cut into slices so that the caller can look at its cancel flag between them.

// Starts the socket library for the lifetime of the object (WSAStartup 2.2 on Windows).
class SocketLibrary {
 public:
  SocketLibrary();
  ~SocketLibrary();
  SocketLibrary(const SocketLibrary&) = delete;
  SocketLibrary& operator=(const SocketLibrary&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_ = false;
};

// The error number of the most recent failed socket call (WSAGetLastError or errno).
int LastSocketError();

// The error number reported for a wait that ran out (WSAETIMEDOUT or ETIMEDOUT).
int TimedOutSocketError();

// One place a connection may go: an IPv4 or IPv6 socket address, port included.
struct SocketAddress {
  int family = 0;
  unsigned length = 0;
  alignas(8) unsigned char bytes[28] = {};  // a sockaddr_in or sockaddr_in6
};

// A resolver may answer with a long list; trying more than this many is only waiting.
constexpr size_t kMaxHostAddresses = 16;

// Every address of host (a name, a dotted quad, or an IPv6 address with or without its
// brackets) for port, IPv4 and IPv6, in the resolver's order; empty when it does not resolve.
std::vector<SocketAddress> ResolveHost(std::string_view host, uint16_t port);

enum class WaitResult { Ready, TimedOut, Failed };

class TcpSocket : public ByteStream {
 public:
  TcpSocket() = default;
  ~TcpSocket() { Close(); }
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  bool Create(int family);
  bool IsOpen() const;
  // Shuts both directions down and closes; a closed socket is left alone.
  void Close();

  // Starts a connection; finish it with WaitConnected.
  bool StartConnect(const SocketAddress& address);
  WaitResult WaitConnected(int waitMs);
  bool SendAll(std::string_view bytes, int waitMs) override;
  int Receive(char* buffer, size_t size, int waitMs) override;

 private:
  intptr_t handle_ = -1;
};
