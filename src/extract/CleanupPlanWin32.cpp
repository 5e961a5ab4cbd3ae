#include "extract/CleanupPlanWin32.h"

#include "extract/ArchiveLibrary.h"
#include "extract/CleanupPlan.h"
#include "state/RetrievalState.h"
#include "support/FileIO.h"

int CleanUpOnDestroy(HWND) {
  const CleanupPlan plan = CleanupOnDestroy(Package.PackagePath, TempFolder);
  if (plan.releaseLibrary) ReleaseArchiveLibrary();
  if (!plan.packagePath.empty()) DeleteFileNamed(plan.packagePath);
  if (!plan.libraryPath.empty()) DeleteFileNamed(plan.libraryPath);
  return 0;
}
