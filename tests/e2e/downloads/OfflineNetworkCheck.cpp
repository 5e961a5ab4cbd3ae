// Stands in for the online test in the test build installer-offline only: no network.
#include "retrieval/download/RunTransferWin32.h"

bool IsNetworkConnected() { return false; }
