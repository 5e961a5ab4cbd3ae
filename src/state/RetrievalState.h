#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "contracts/PackageInfo.h"

// Process-wide values of package retrieval, written on Form1's thread.

// Where downloads are kept (the TEMP value); ends with "\" once the load step has run.
extern std::string TempFolder;
// This run's own folder under TempFolder, where the package and the archive library are
// downloaded; ends with "\", empty until it is made.
extern std::string RunFolder;
// The base folder offered for installation; ends with "\" once the load step has run.
extern std::string InstallFolder;
// The values of the package's information block, set by each successful information step.
extern PackageInfo Package;
// The item the progress texts name: the file being downloaded or the entry being unpacked.
extern std::string ProgressItemText;
// 1 once the user has confirmed stopping the running download or extraction.
extern std::atomic<int32_t> AbortRequested;
