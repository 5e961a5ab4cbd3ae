#include "support/WideDivision.h"

std::uint64_t DivideWide(std::uint64_t dividend, std::uint64_t divisor, std::uint64_t& remainder) {
  std::uint64_t quotient = 0;
  remainder = 0;
  for (int bit = 63; bit >= 0; --bit) {
    // A remainder with its top bit set is past any divisor once shifted, whatever the carry.
    const bool carry = remainder >> 63;
    remainder = remainder << 1 | (dividend >> bit & 1);
    if (carry || remainder >= divisor) {
      remainder -= divisor;
      quotient |= std::uint64_t(1) << bit;
    }
  }
  return quotient;
}
