#pragma once

#include <string>

#include "trust/DownloadDigestWin32.h"

// Fetches fileName from download host 1, else host 2, into RunFolder, showing the download
// page with displayName as its header. True when RunFolder + fileName now holds the
// complete file; false when the download failed or the user stopped it (AbortRequested).
// With `kept`, a fetched file is left open there, hashed as it arrived, for the caller to check.
bool FetchFile(const std::string& fileName, const std::string& displayName, DownloadedFile* kept = nullptr);
