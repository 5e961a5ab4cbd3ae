#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Runs one transfer of url into outputPath on a worker thread while the busy indicator
// keeps owner alive. Returns the client's result; kTransferFailureShown once a failure text
// (no network, or the client's own) has been shown; 0 for an empty URL.
int64_t RunTransfer(HWND owner, const std::string& url, const std::string& outputPath);

// InternetGetConnectedState; the connection flags are not looked at.
bool IsNetworkConnected();
