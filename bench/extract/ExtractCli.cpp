// Unpacks a 7z archive with sevenzip_core: extract-cli ARCHIVE TARGET_FOLDER
// Used by RunExtractBench.sh to time the library against 7z.
#include <cstdio>

#include "SevenZipCommand.h"

namespace {

class SilentObserver : public sevenzip::ExtractObserver {
 public:
  bool OnEntryStart(const sevenzip::ExtractProgress&) override { return true; }
  bool OnEntryWritten(const sevenzip::ExtractProgress&) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: extract-cli ARCHIVE TARGET_FOLDER/\n");
    return 2;
  }
  std::string command = std::string("x \"") + argv[1] + "\" -y \"" + argv[2] + "/\" *";
  SilentObserver observer;
  int result = sevenzip::RunSevenZipCommand(command, observer);
  if (result != sevenzip::kResultOk) std::fprintf(stderr, "extract-cli: failed with result %d\n", result);
  return result;
}
