#pragma once
#include <cstddef>
#include <cstdint>

#include "Extractor.h"
#include "contracts/SevenZipInterface.h"

namespace sevenzip {

// The record handed to the owner window's callback.
using ProgressRecord = SevenZipProgressRecord;

ProgressRecord MakeProgressRecord(const ExtractProgress& progress);

}  // namespace sevenzip
