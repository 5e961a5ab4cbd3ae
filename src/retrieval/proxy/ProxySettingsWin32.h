#pragma once

#include <optional>
#include <string>

#include "retrieval/proxy/ProxyRules.h"

// The proxy the user's settings name for url on host, read afresh for every request:
// the manual proxy with its bypass list, or automatic configuration evaluated by WinHTTP
// (loaded from System32 when it is needed; without it the connection is direct).
std::optional<ProxyServer> UserProxyFor(const std::string& url, const std::string& host);
