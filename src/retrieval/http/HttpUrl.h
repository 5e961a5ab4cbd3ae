#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Splits an absolute URL ("http://" or "https://", any letter case) into host, path and
// port. A relative URL keeps the host and port passed in, so that a redirect to a path
// stays on the same server. The path never starts with the "/" after the host.
void SplitUrl(std::string_view url, std::string& host, std::string& path, int32_t& port);
