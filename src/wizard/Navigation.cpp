#include "wizard/Navigation.h"

#include "app/MessageLoop.h"

int OnNextClicked(int, HWND, HWND, int) { return 0; }

int OnBackClicked(int, HWND, HWND, int) { return 0; }

int OnCancelClicked(int, HWND form, HWND, int) {
  PostClose(form);
  return 0;
}

// Nothing runs yet that a close would interrupt.
int ConfirmClose(HWND) { return 0; }
