#pragma once

#include <span>

#include "support/Socket.h"

enum class ConnectEnd { Connected, Cancelled, SocketFailed, ConnectFailed };

struct ConnectOutcome {
  ConnectEnd end = ConnectEnd::ConnectFailed;
  int error = 0;  // the socket error of the last address tried, when none was connected
};

// Connects `socket` to the first of `addresses` that accepts within waitMs, in their order:
// a refusal, an unreachable network, silence or a family this computer has no socket for
// moves on to the next one. SocketFailed only when no socket could be made for any of them.
// Moves DownloadState through creating and connecting, and looks at its cancel request
// every sliceMs at most.
ConnectOutcome ConnectToFirst(TcpSocket& socket, std::span<const SocketAddress> addresses, int waitMs, int sliceMs);
