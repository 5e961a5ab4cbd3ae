#include "support/ResourceName.h"

#include <cmath>
#include <string>

#include "platform/LeadingNumber.h"

std::optional<uint16_t> ResourceIdFromName(std::wstring_view name) {
  if (name.empty() || name.front() != L'#') return std::nullopt;
  // A number is ASCII; the first other character ends it as any non-digit does.
  std::string ascii;
  for (wchar_t c : name.substr(1)) {
    if (c <= 0 || c > 0x7F) break;
    ascii += static_cast<char>(c);
  }
  const double value = std::nearbyint(LeadingNumber(ascii));
  if (!std::isfinite(value)) return 0;
  // Wrap like a 16-bit store; fmod keeps huge values exact instead of overflowing.
  double wrapped = std::fmod(value, 65536.0);
  if (wrapped < 0) wrapped += 65536.0;
  return static_cast<uint16_t>(wrapped);
}
