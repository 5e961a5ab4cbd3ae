#include "extract/ExtractionTexts.h"

std::string ArchiveCheckMessage(std::string_view archivePath) {
  return std::string(archivePath) + "\r\n\r\n" + "检查文件出错！文件不存在或者不是7ZIP文件。";
}
