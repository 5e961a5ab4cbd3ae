#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A thin TCP layer over BSD sockets and WinSock 1.1, one branch per platform in Socket.cpp.
// Waits are cut into slices so that the caller can look at its cancel flag between them.

// Starts the socket library for the lifetime of the object (WSAStartup 1.1 on Windows).
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

// IPv4 address in network byte order for a dotted quad or a host name; 0 when unresolved.
uint32_t ResolveHost(const char* host);

enum class WaitResult { Ready, TimedOut, Failed };

class TcpSocket {
 public:
  TcpSocket() = default;
  ~TcpSocket() { Close(); }
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  bool Create();
  bool IsOpen() const;
  // Shuts both directions down and closes; a closed socket is left alone.
  void Close();

  // Starts a connection; finish it with WaitConnected.
  bool StartConnect(uint32_t address, uint16_t port);
  WaitResult WaitConnected(int waitMs);
  // Sends all bytes, each wait for buffer space bounded by waitMs.
  bool SendAll(std::string_view bytes, int waitMs);
  // Bytes received (>0), 0 when the peer closed, -1 on failure, or kNothingYet when waitMs
  // passed without data.
  static constexpr int kNothingYet = -2;
  int Receive(char* buffer, size_t size, int waitMs);

 private:
  intptr_t handle_ = -1;
};
