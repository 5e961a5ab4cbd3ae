#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int32_t kSecurePort = 443;

// Splits an absolute URL ("http://" or "https://", any letter case) into host, path and
// port. A relative URL keeps the host and port passed in, so that a redirect to a path
// stays on the same server. The path never starts with the "/" after the host.
// "https://" gives kSecurePort, which alone marks a URL to be fetched over TLS.
void SplitUrl(std::string_view url, std::string& host, std::string& path, int32_t& port);

// True for an absolute "http://" URL (any letter case, blanks around it allowed).
bool IsPlainHttpUrl(std::string_view url);
