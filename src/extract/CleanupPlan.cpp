#include "extract/CleanupPlan.h"

#include "extract/ExtractionTexts.h"

CleanupPlan CleanupOnDestroy(std::string_view packagePath, std::string_view tempFolder) {
  if (packagePath.empty()) return {};
  return {true, std::string(packagePath), std::string(tempFolder) + kArchiveLibraryFile};
}
