#include "extract/ExtractionCommand.h"

#include "support/GbkPath.h"

std::string ExtractionCommandLine(std::string_view archivePath, std::string_view targetFolder) {
  return "x \"" + std::string(archivePath) + "\" -hide -y \"" + WithTrailingBackslash(targetFolder) + "\" *";
}

// Anything else (damaged data, a file that cannot be written, a stop) leaves the target
// incomplete, so the install must not be reported as done.
bool ExtractionSucceeded(int sevenZipResult) { return sevenZipResult == 0; }
