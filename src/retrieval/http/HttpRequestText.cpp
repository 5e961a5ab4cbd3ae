#include "retrieval/http/HttpRequestText.h"

namespace {

std::string RequestHead(std::string_view host, std::string_view path, bool viaProxy) {
  std::string request = "GET ";
  if (viaProxy) request.append("http://").append(host);
  request.append("/").append(path).append(" HTTP/1.0\r\nHost: ").append(host).append("\r\nConnection: close\r\n");
  return request;
}

constexpr std::string_view kUserAgentLine = "User-Agent: GetHTTP 0.0\r\n\r\n";

}  // namespace

std::string BuildGetRequest(std::string_view host, std::string_view path, bool viaProxy) {
  return RequestHead(host, path, viaProxy).append(kUserAgentLine);
}

std::string BuildResumeRequest(std::string_view host, std::string_view path, int64_t resumeOffset, bool viaProxy) {
  return RequestHead(host, path, viaProxy)
      .append("Range: bytes=")
      .append(std::to_string(resumeOffset))
      .append("-\r\n")
      .append(kUserAgentLine);
}

std::string BuildConnectRequest(std::string_view host) {
  const std::string authority = std::string(host).append(":443");
  return "CONNECT " + authority + " HTTP/1.0\r\nHost: " + authority + "\r\n\r\n";
}
