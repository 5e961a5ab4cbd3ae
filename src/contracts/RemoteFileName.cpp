#include "contracts/RemoteFileName.h"

#include "platform/TextSplit.h"
#include "support/GbkPath.h"

std::string RemoteFileName(const std::string& fileName) {
  // GBK trail bytes in the A-Z range stay as they are.
  return ReplaceText(LowerAsciiLetters(fileName), ".7z", ".rar");
}
