#include "trust/TrustState.h"

AutoCloseHandle CheckedPackage;
AutoCloseHandle CheckedLibrary;
