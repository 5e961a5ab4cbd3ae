#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/File.h"
#include "retrieval/http/HttpProgress.h"
#include "retrieval/proxy/ProxyRules.h"
#include "support/SecureStream.h"
#include "support/Socket.h"

struct DownloadSettings {
  // Bounds on waiting, so that a silent server or a dead line cannot hold the worker forever.
  int silenceLimitMs = 30000;       // sending, or receiving with no byte arriving
  int connectLimitMs = 5000;        // for each address; an address that stays silent is given up
  int maxFruitlessResumptions = 3;  // reconnections in a row that bring no new body bytes
  // Maps a host and port to its addresses; empty means ResolveHost. Tests use it to reach
  // hosts on ephemeral ports, which the URL rules cannot name.
  std::function<std::vector<SocketAddress>(const std::string& host, uint16_t port)> lookup;
  // The proxy for a URL on host, or nothing for a direct connection; empty means direct.
  std::function<std::optional<ProxyServer>(const std::string& url, const std::string& host)> proxyFor;
  // The TLS session for https:// URLs; empty means they cannot be fetched.
  SecureStreamFactory secureStreams = nullptr;
};

// Told on the worker thread of every write of body bytes to the output file, in order.
class BodyObserver {
 public:
  virtual ~BodyObserver() = default;
  virtual void OnBodyWritten(int64_t offset, std::string_view bytes) = 0;
};

// Filled by the caller, handed to HttpDownload by address, read back after the worker ended.
struct DownloadRequest {
  std::string url;
  std::string body;        // out: the body when outputPath is empty (memory mode)
  std::string outputPath;  // the file that receives the body
  // out: the announced length on success (1 when none was announced); 0 or a step code
  // (3 socket start-up, 4 bad URL, 6 socket, 7 connect, 8 send) on failure. 64 bits wide so
  // that bodies of 2 GiB and more report their size.
  int64_t result = 0;
  void* ownerWindow = nullptr;
  std::string errorText;  // out: the text to show when the transfer failed with one
  // out: a response came from the host (through the proxy, when there is one)
  bool reached = false;
  // out: why the host could not be reached (no connection, or a proxy that asks for a login);
  // the caller shows it only once no host could be reached
  std::string unreachedText;
  // out: why a host's secure connection could not be trusted (its certificate or handshake
  // failed, or it redirected from https:// to http://); shown once no host succeeded
  std::string untrustedText;
  DownloadSink* progress = nullptr;
  BodyObserver* observer = nullptr;
  // When set, the output file is made anew through it (nobody else may write, rename or
  // delete it while it is open) and stays open after a success, for the caller to keep.
  File* keptFile = nullptr;
  DownloadSettings settings;
};

// Fetches request->url over HTTP/1.0 into the output file (or the body text), following up
// to five redirects and resuming a broken body with a byte range. Every address of the host
// is tried in turn, directly or through the proxy that settings.proxyFor names (for https://
// a tunnel through it). An https:// URL goes over TLS on port 443, each connection anew, and
// never falls back to plain text. Runs on its own thread;
// DownloadState shows its step, and a cancel written there stops it. On every failure the
// output file is gone afterwards.
void HttpDownload(DownloadRequest* request);
