#pragma once

#include <windows.h>

#include "pages/PageModel.h"

// Click handlers of the Next, Back and Cancel buttons, as Form1's procedure routes them:
// the sender's record index (-1 without one), Form1, the sender and its control ID.
int OnNextClicked(int senderIndex, HWND form, HWND sender, int controlId);
int OnBackClicked(int senderIndex, HWND form, HWND sender, int controlId);
int OnCancelClicked(int senderIndex, HWND form, HWND sender, int controlId);

// Asked on WM_CLOSE: 1 refuses the close, 0 lets Form1 be destroyed.
int ConfirmClose(HWND form);

// Carries a page move out on Form1: shows it, then runs its work (install action, finish
// actions, close request).
void CarryOutPageMove(HWND form, const PageMove& move);
