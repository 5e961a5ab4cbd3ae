#pragma once

#include <string>

// Fetches fileName from download host 1, else host 2, into TempFolder, showing the download
// page with displayName as its header. True when TempFolder + fileName now holds the
// complete file; false when the download failed or the user stopped it (AbortRequested).
bool FetchFile(const std::string& fileName, const std::string& displayName);
