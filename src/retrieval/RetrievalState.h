#pragma once

#include <string>

// Process-wide values of package retrieval.

// Where downloads are kept (the TEMP value); ends with "\" once the load step has run.
extern std::string TempFolder;
// The base folder offered for installation; ends with "\" once the load step has run.
extern std::string InstallFolder;
