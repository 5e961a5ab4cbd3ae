#pragma once

#include <windows.h>

#include "pages/PageModel.h"

// Shows a page move on Form1: folder edit box, Next caption, buttons, page state and
// repaint. The move's work (its action) is the navigation's to run.
void ShowPageMove(HWND form, const PageMove& move);
