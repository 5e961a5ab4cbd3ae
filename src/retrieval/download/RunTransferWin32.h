#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "retrieval/download/FetchSequence.h"
#include "trust/DownloadDigestWin32.h"

// Runs one transfer of url into outputPath on a worker thread while the busy indicator
// keeps owner alive, through the user's proxy when the settings name one for it. The result
// is the client's; kTransferFailureShown once a failure text (no network, or the client's
// own) has been shown; 0 for an empty URL. With `kept`, the body is hashed as it is written
// and a completed file stays open in kept->file.
TransferOutcome RunTransfer(HWND owner, const std::string& url, const std::string& outputPath, DownloadedFile* kept);

// The failure message box of a transfer.
void ShowTransferFailure(HWND owner, const std::string& text);

// InternetGetConnectedState; the connection flags are not looked at.
bool IsNetworkConnected();
