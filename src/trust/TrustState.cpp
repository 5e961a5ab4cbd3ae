#include "trust/TrustState.h"

File CheckedPackage;
File CheckedLibrary;
