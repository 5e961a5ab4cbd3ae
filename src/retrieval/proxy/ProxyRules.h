#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// How the user's proxy settings apply to one download, as Windows programs apply them.

// A proxy server as the settings name it; an IPv6 address keeps its brackets.
struct ProxyServer {
  std::string host;
  uint16_t port = 80;
  std::string Name() const { return host + ":" + std::to_string(port); }
};

// The proxy for http:// URLs in a proxy setting: one server for every protocol ("host:port",
// port 80 when none is given), or the per-protocol form "http=host:port;https=host:port",
// entries apart by ";" or blanks, the first that fits wins. Nothing when the setting names
// none for http or cannot be read: an unreadable setting means no proxy.
std::optional<ProxyServer> ProxyForHttp(std::string_view setting);

// Whether host is to be reached directly under a bypass list: entries apart by ";" or
// blanks, "*" and "?" as wildcards, any letter case, and "<local>" for names without a dot.
bool BypassesProxy(std::string_view bypassList, std::string_view host);

// The user's settings as Windows keeps them (HKCU's Internet Settings).
struct ProxySettings {
  bool manual = false;  // ProxyEnable
  std::string server;   // ProxyServer
  std::string bypass;   // ProxyOverride
  bool autoDetect = false;
  std::string autoConfigUrl;
};

// Whether the connection settings record (DefaultConnectionSettings) asks for automatic
// detection; a record too short to say does not.
bool AutoDetectRequested(std::string_view connectionSettings);

// The proxy for a URL on host. Automatic configuration, when asked for, decides alone:
// `evaluate` gives the proxy list it names for the URL, or nothing for a direct connection
// (also when the script fails). Else the manual proxy, unless host bypasses it.
std::optional<ProxyServer> ChooseProxy(const ProxySettings& settings, std::string_view host,
                                       const std::function<std::optional<std::string>()>& evaluate);
