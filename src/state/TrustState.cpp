#include "state/TrustState.h"

File CheckedPackage;
File CheckedLibrary;
