#include "support/LeadingNumber.h"

#include <cmath>
#include <cstdint>

double LeadingNumber(const std::string& text) {
  std::string::size_type i = text.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  double sign = 1;
  if (text[i] == '+' || text[i] == '-') sign = text[i++] == '-' ? -1 : 1;
  double value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) value += (text[i] - '0') * scale;
  }
  return sign * value;
}

int LeadingInteger(const std::string& text) {
  const double rounded = std::nearbyint(LeadingNumber(text));
  if (rounded >= INT32_MAX) return INT32_MAX;
  if (rounded <= INT32_MIN) return INT32_MIN;
  return static_cast<int>(rounded);
}
