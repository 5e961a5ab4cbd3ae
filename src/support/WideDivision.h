#pragma once
// 64-bit division one bit at a time: the 32-bit installer's few such divisions are all off the
// hot paths, and this is a fifth of the size of the compiler runtime's.

#include <cstdint>

// The quotient; remainder gets the rest. divisor is never 0.
std::uint64_t DivideWide(std::uint64_t dividend, std::uint64_t divisor, std::uint64_t& remainder);
