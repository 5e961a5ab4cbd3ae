#include "retrieval/http/ConnectFirst.h"

#include <algorithm>

#include "retrieval/http/HttpProgress.h"
#include "state/DownloadState.h"

namespace {

// 0 when connected, else the error number; `cancelled` is set when the user stopped it.
int ConnectWithin(TcpSocket& socket, const SocketAddress& address, int waitMs, int sliceMs, bool& cancelled) {
  if (!socket.StartConnect(address)) return LastSocketError();
  const uint32_t start = ProgressTick();
  for (;;) {
    const uint32_t waited = ProgressTick() - start;
    if (waited >= static_cast<uint32_t>(waitMs)) return TimedOutSocketError();
    const int slice = static_cast<int>(std::min<uint32_t>(static_cast<uint32_t>(waitMs) - waited, sliceMs));
    const WaitResult result = socket.WaitConnected(slice);
    if (result == WaitResult::Ready) return 0;
    if (result == WaitResult::Failed) return LastSocketError();
    if ((cancelled = DownloadCancelRequested())) return 0;
  }
}

}  // namespace

ConnectOutcome ConnectToFirst(TcpSocket& socket, std::span<const SocketAddress> addresses, int waitMs, int sliceMs) {
  ConnectOutcome outcome;
  bool anySocket = false;
  for (const SocketAddress& address : addresses) {
    if (!EnterDownloadStep(kDownloadCreatingSocket)) return {ConnectEnd::Cancelled, 0};
    if (!socket.Create(address.family)) {
      outcome.error = LastSocketError();
      continue;
    }
    anySocket = true;
    if (!EnterDownloadStep(kDownloadConnecting)) return {ConnectEnd::Cancelled, 0};
    bool cancelled = false;
    const int error = ConnectWithin(socket, address, waitMs, sliceMs, cancelled);
    if (cancelled) return {ConnectEnd::Cancelled, 0};
    if (error == 0) return {ConnectEnd::Connected, 0};
    outcome.error = error;
    socket.Close();
  }
  outcome.end = anySocket || addresses.empty() ? ConnectEnd::ConnectFailed : ConnectEnd::SocketFailed;
  return outcome;
}
