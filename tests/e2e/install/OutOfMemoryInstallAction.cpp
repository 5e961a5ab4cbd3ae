// Stands in for the install action in the test build installer-out-of-memory only: it asks
// for more memory than any process can have, as a step of a real installation might.
#include <cstddef>
#include <limits>
#include <new>

#include "wizard/InstallActionWin32.h"

namespace {

volatile std::size_t gHugeSize = std::numeric_limits<std::size_t>::max() / 2;
void* volatile gBlock = nullptr;

}  // namespace

void RunInstallAction(HWND) { gBlock = ::operator new(gHugeSize); }
