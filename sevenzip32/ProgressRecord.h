#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "Extractor.h"
#include "contracts/SevenZipInterface.h"

namespace sevenzip {

// The record handed to the owner window's callback.
using ProgressRecord = SevenZipProgressRecord;

ProgressRecord MakeProgressRecord(const ExtractProgress& progress);

// Says whether a write report goes to the caller: an entry's last bytes always, the others at
// most once per kWriteReportIntervalMs. Each report pumps the caller's messages and moves its
// progress bar, which under Wine costs a few milliseconds on the thread that also writes the
// files: twenty times a second keeps the bar smooth.
constexpr uint32_t kWriteReportIntervalMs = 50;
class WriteReportPacer {
 public:
  bool Due(const ExtractProgress& progress, uint32_t nowMs);

 private:
  std::optional<uint32_t> last_;
};

}  // namespace sevenzip
