#include "state/TrustState.h"

AutoCloseHandle CheckedPackage;
AutoCloseHandle CheckedLibrary;
