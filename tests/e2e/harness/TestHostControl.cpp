#include "Harness.h"

#include "support/Socket.h"

bool SteerTestHost(const std::string& options) {
  constexpr char kHost[] = "127.0.0.2";
  constexpr int kWaitMs = 5000;  // a host that accepts and never answers fails the test
  SocketLibrary library;
  TcpSocket socket;
  std::string answer;
  const std::vector<SocketAddress> addresses =
      library.Started() ? ResolveHost(kHost, 80) : std::vector<SocketAddress>();
  if (!addresses.empty() && socket.Create(addresses[0].family) && socket.StartConnect(addresses[0]) &&
      socket.WaitConnected(kWaitMs) == WaitResult::Ready &&
      socket.SendAll("GET /__control?" + options + " HTTP/1.0\r\nHost: " + kHost + "\r\n\r\n", kWaitMs)) {
    char buffer[512];
    for (int got; (got = socket.Receive(buffer, sizeof buffer, kWaitMs)) > 0;) answer.append(buffer, got);
  }
  return answer.rfind("HTTP/1.1 200", 0) == 0;
}
