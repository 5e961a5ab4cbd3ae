// The compiler runtime's entry points for 64-bit division on 32-bit x86, taken over by the
// installer's own small division (support/WideDivision.h). Built without link-time
// optimisation: calls to these appear only after it.
#include "support/WideDivision.h"

#if defined(__i386__)

extern "C" {

unsigned long long __udivmoddi4(unsigned long long dividend, unsigned long long divisor, unsigned long long* rest) {
  std::uint64_t remainder;
  const std::uint64_t quotient = DivideWide(dividend, divisor, remainder);
  if (rest) *rest = remainder;
  return quotient;
}

unsigned long long __udivdi3(unsigned long long dividend, unsigned long long divisor) {
  return __udivmoddi4(dividend, divisor, nullptr);
}

long long __divdi3(long long dividend, long long divisor) {
  const unsigned long long magnitude =
      __udivmoddi4(dividend < 0 ? 0 - static_cast<unsigned long long>(dividend) : dividend,
                   divisor < 0 ? 0 - static_cast<unsigned long long>(divisor) : divisor, nullptr);
  return static_cast<long long>((dividend < 0) != (divisor < 0) ? 0 - magnitude : magnitude);
}
}

#endif
