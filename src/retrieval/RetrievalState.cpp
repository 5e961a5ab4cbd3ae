#include "retrieval/RetrievalState.h"

std::string TempFolder;
std::string InstallFolder;
