#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The bytes of one HTTP/1.0 GET. With a resume offset the request asks for the rest of the
// body from that offset on (a "Range: bytes=N-" line before the User-Agent line). Through a
// proxy the request line carries the whole URL ("GET http://host/path"); the rest is the same.
std::string BuildGetRequest(std::string_view host, std::string_view path, bool viaProxy = false);
std::string BuildResumeRequest(std::string_view host, std::string_view path, int64_t resumeOffset,
                               bool viaProxy = false);

// Asks a proxy for a tunnel to host's TLS port: "CONNECT host:443 HTTP/1.0" and its Host line.
std::string BuildConnectRequest(std::string_view host);
