#include "retrieval/package/PackageCopy.h"

#include <vector>

#include "retrieval/package/PackageIdentity.h"
#include "support/LeadingNumber.h"
#include "support/TextSplit.h"

int WritePackageCopies(const std::string& programFolder, const std::string& programFileName,
                       const std::string& marker, CopyFileOperations& files) {
  const std::string program = programFolder + programFileName;
  const std::string content = files.ReadWholeFile(program);
  const auto markerOffset = content.find(marker);
  if (marker.empty() || markerOffset == std::string::npos) return 0;

  std::vector<std::string> entries;
  SplitText(kPackageIdList, "|", entries);
  int written = 0;
  for (const std::string& entry : entries) {
    if (LeadingNumber(entry) <= 0) continue;
    const std::string copy = programFolder + PackageCopyName(entry);
    if (!files.CopyFileOver(program, copy)) continue;
    if (!files.WriteBytesAt(copy, markerOffset, MarkerFor(entry))) {
      // An unpatched copy would be another template and write copies of its own.
      files.RemoveFile(copy);
      continue;
    }
    ++written;
  }
  return written;
}
