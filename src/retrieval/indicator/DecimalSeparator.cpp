#include "retrieval/indicator/DecimalSeparator.h"

#include <windows.h>

char DecimalSeparator() {
  char separator[8] = "";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) < 2) return '.';
  return separator[0];
}
