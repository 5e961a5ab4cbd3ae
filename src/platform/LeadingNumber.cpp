#include "platform/LeadingNumber.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double LeadingNumber(const std::string& text) {
  std::string::size_type i = text.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  std::string number;
  if (text[i] == '+' || text[i] == '-') number += text[i++];
  for (; i < text.size() && IsDigit(text[i]); ++i) number += text[i];
  if (i < text.size() && text[i] == '.') {
    number += '.';
    for (++i; i < text.size() && IsDigit(text[i]); ++i) number += text[i];
  }
  // atof is strtod's value, correctly rounded, taken from the system C library: mingw's own
  // strtod would add some 20 KB to the installer.
  return std::atof(number.c_str());
}

int LeadingInteger(const std::string& text) {
  const double rounded = std::nearbyint(LeadingNumber(text));
  if (rounded >= INT32_MAX) return INT32_MAX;
  if (rounded <= INT32_MIN) return INT32_MIN;
  return static_cast<int>(rounded);
}
