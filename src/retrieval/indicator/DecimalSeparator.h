#pragma once

// The first character of the user's decimal separator (LOCALE_SDECIMAL); "." when unknown.
char DecimalSeparator();
