#include "retrieval/package/PackageCopy.h"

#include "contracts/InstallerCopies.h"

int WritePackageCopies(const std::string& programFolder, const std::string& programFileName, const std::string& marker,
                       CopyFileOperations& files) {
  const CopySource source(files.ReadWholeFile(programFolder + programFileName), marker);
  if (source.Problem() != CopySource::Fault::None) return 0;
  int written = 0;
  for (const std::string& entry : CopyEntries(kPackageIdList, "|")) {
    const std::string copy = programFolder + InstallerCopyName(entry);
    if (files.WriteWholeFile(copy, source.CopyFor(entry))) {
      ++written;
    } else {
      // A partly written copy would not run, or would be another template.
      files.RemoveFile(copy);
    }
  }
  return written;
}
