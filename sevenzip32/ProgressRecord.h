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
// progress bar: window work that a fast decoder need not wait for a thousand times a second.
constexpr uint32_t kWriteReportIntervalMs = 16;
class WriteReportPacer {
 public:
  bool Due(const ExtractProgress& progress, uint32_t nowMs);

 private:
  std::optional<uint32_t> last_;
};

}  // namespace sevenzip
