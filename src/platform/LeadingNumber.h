#pragma once

#include <string>

// The number a text starts with (blanks, sign, digits, one decimal point), as a lenient
// reader of user and configuration text sees it; 0 when the text does not start with one.
double LeadingNumber(const std::string& text);

// LeadingNumber rounded to the nearest integer (ties to even), clamped to 32 bits.
int LeadingInteger(const std::string& text);
