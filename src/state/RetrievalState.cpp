#include "state/RetrievalState.h"

std::string TempFolder;
std::string RunFolder;
std::string InstallFolder;
PackageInfo Package;
std::string ProgressItemText;
std::atomic<int32_t> AbortRequested{0};
