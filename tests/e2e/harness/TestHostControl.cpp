#include "Harness.h"

#include <winsock2.h>

bool SteerTestHost(const std::string& options) {
  constexpr char kHost[] = "127.0.0.2";
  constexpr DWORD kAnswerWaitMs = 5000;  // a host that accepts and never answers fails the test
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  std::string answer;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(80);
  address.sin_addr.s_addr = inet_addr(kHost);
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&kAnswerWaitMs), sizeof kAnswerWaitMs);
  if (s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET /__control?" + options + " HTTP/1.0\r\nHost: " + kHost + "\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[512];
    for (int got; (got = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
  }
  if (s != INVALID_SOCKET) closesocket(s);
  WSACleanup();
  return answer.rfind("HTTP/1.1 200", 0) == 0;
}
