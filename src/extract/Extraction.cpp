#include "extract/Extraction.h"

#include "support/GbkPath.h"

std::string ExtractionCommandLine(std::string_view archivePath, std::string_view targetFolder) {
  return "x \"" + std::string(archivePath) + "\" -hide -y \"" + WithTrailingBackslash(targetFolder) + "\" *";
}

// Anything else (damaged data, a file that cannot be written, a stop) leaves the target
// incomplete, so the install must not be reported as done.
bool ExtractionSucceeded(int sevenZipResult) { return sevenZipResult == 0; }

std::string ArchiveCheckMessage(std::string_view archivePath) {
  return std::string(archivePath) + "\r\n\r\n" + "检查文件出错！文件不存在或者不是7ZIP文件。";
}
