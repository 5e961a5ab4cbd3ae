#pragma once

#include <windows.h>

#include "wizard/PageModel.h"

// Carries out a page move on Form1: page and header texts, the Next caption, the folder
// edit box and the four buttons; repaints when the page was set.
void CarryOutPageMove(HWND form, const PageMove& move);
