#pragma once
#include <cstddef>
#include <cstdint>

#include "Extractor.h"

namespace sevenzip {

// The record handed to the owner window's callback. Callers copy the first 1080 bytes, so
// the record is at least that long; only the three leading fields carry data.
struct ProgressRecord {
    uint32_t entrySize;     // clamped to 32 bits
    uint32_t bytesWritten;  // clamped to 32 bits
    char entryName[513];    // zero-terminated, ANSI
    char reserved[1080 - 8 - 513];
};
static_assert(offsetof(ProgressRecord, bytesWritten) == 4 && offsetof(ProgressRecord, entryName) == 8);
static_assert(sizeof(ProgressRecord) == 1080);

// Callback states.
constexpr unsigned kStateEntryStart = 0;
constexpr unsigned kStateEntryWriting = 1;

ProgressRecord MakeProgressRecord(const ExtractProgress& progress);

}  // namespace sevenzip
