#include "TestHostControl.h"

#include <winsock2.h>

namespace {

constexpr char kHostAddress[] = "127.0.0.2";
constexpr DWORD kAnswerWaitMs = 5000;  // a host that accepts and never answers fails the test

}  // namespace

bool SteerTestHost(const std::string& options) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  bool accepted = false;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(80);
  address.sin_addr.s_addr = inet_addr(kHostAddress);
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&kAnswerWaitMs), sizeof kAnswerWaitMs);
  if (s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET /__control?" + options + " HTTP/1.0\r\nHost: " + kHostAddress + "\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    std::string answer;
    char buffer[512];
    for (int got; (got = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
    accepted = answer.rfind("HTTP/1.1 200", 0) == 0;
  }
  if (s != INVALID_SOCKET) closesocket(s);
  WSACleanup();
  return accepted;
}
