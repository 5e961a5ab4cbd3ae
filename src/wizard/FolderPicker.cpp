#include "wizard/FolderPicker.h"

int OnBrowseClicked(int, HWND, HWND, int) { return 0; }
