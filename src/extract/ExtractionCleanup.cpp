#include "extract/ExtractionCleanup.h"

// Nothing is downloaded or loaded yet.
int CleanUpOnDestroy(HWND) { return 0; }
