// The online test before each transfer, in a file of its own so that a test build can stand
// in for a computer without a network.
#include <windows.h>
#include <wininet.h>

#include "platform/SystemLibrariesWin32.h"
#include "retrieval/download/RunTransferWin32.h"

bool IsNetworkConnected() {
  const auto connected =
      SystemFunction<decltype(&InternetGetConnectedState)>("wininet.dll", "InternetGetConnectedState");
  DWORD flags = 0;
  // Without WinINet nothing says the computer is offline; the download finds out for itself.
  return !connected || connected(&flags, 0) != FALSE;
}
