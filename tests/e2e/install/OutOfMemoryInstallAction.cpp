// Stands in for the install action in the test build installer-out-of-memory only: it asks
// for more memory than a 32-bit process can have, as a step of a real installation might.
#include <cstddef>
#include <new>

#include "wizard/InstallAction.h"

namespace {

volatile std::size_t gHugeSize = 0x7FFFFFF0;
void* volatile gBlock = nullptr;

}  // namespace

void RunInstallAction(HWND) { gBlock = ::operator new(gHugeSize); }
