// The online test before each transfer, in a file of its own so that a test build can stand
// in for a computer without a network.
#include <windows.h>
#include <wininet.h>

#include "retrieval/download/RunTransfer.h"

bool IsNetworkConnected() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}
