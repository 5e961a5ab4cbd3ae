#include "retrieval/CustomMessages.h"

// The progress display and the package-information step take these messages over.
int CustomMessageHandler(HWND, UINT, WPARAM, LPARAM) { return 0; }
