#include "retrieval/handlers/PackageRunClaimWin32.h"
#include "platform/GbkText.h"

#include <cstdint>

namespace {

void BringToFront(HWND window) {
  if (!IsWindow(window)) return;  // the first run has not made its window yet, or is ending
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
}

}  // namespace

bool ClaimPackageRun(const std::string& packageName, HWND form) {
  const std::string name = "Local\\LzInstaller-" + packageName;
  // Kept open for the whole run: the claim ends with the process.
  const HANDLE claim =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(uint64_t), WideText(name));
  // Without the object there is no way to tell; the run goes on as it always did.
  if (!claim) return true;
  const bool first = GetLastError() != ERROR_ALREADY_EXISTS;
  auto* shared = static_cast<volatile uint64_t*>(MapViewOfFile(claim, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
  if (!shared) return first;
  if (first) {
    *shared = reinterpret_cast<uintptr_t>(form);
  } else {
    BringToFront(reinterpret_cast<HWND>(static_cast<uintptr_t>(*shared)));
  }
  UnmapViewOfFile(const_cast<uint64_t*>(shared));
  return first;
}
