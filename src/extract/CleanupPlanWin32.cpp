#include "extract/CleanupPlanWin32.h"

#include "extract/ArchiveLibrary.h"
#include "extract/CleanupPlan.h"
#include "state/RetrievalState.h"
#include "support/FileIO.h"
#include "trust/TrustState.h"

int CleanUpOnDestroy(HWND) {
  const CleanupPlan plan = CleanupOnDestroy(Package.PackagePath, TempFolder);
  if (plan.releaseLibrary) ReleaseArchiveLibrary();
  // The held files could not be deleted.
  CheckedPackage.Reset();
  CheckedLibrary.Reset();
  if (!plan.packagePath.empty()) DeleteFileNamed(plan.packagePath);
  if (!plan.libraryPath.empty()) DeleteFileNamed(plan.libraryPath);
  return 0;
}
