#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "contracts/SevenZipInterface.h"

// The library's progress reports during "SevenZip", and what the extraction page makes of them.

// The record is copied before it is read; only its leading fields carry data.
constexpr std::size_t kProgressRecordCopySize = sizeof(SevenZipProgressRecord);
constexpr std::size_t kEntryNameOffset = offsetof(SevenZipProgressRecord, entryName);
constexpr std::size_t kEntryNameFieldSize = sizeof SevenZipProgressRecord::entryName;

constexpr uint32_t kEntryStartState = kSevenZipEntryStart;
constexpr uint32_t kEntryWritingState = kSevenZipEntryWriting;

// The hint label names the entry at most this often (at entry starts only).
constexpr uint32_t kItemTextIntervalMs = 300;
constexpr const char* kExtractingItemPrefix = "解压：";

struct ProgressRecordFields {
  uint32_t entrySize = 0;
  uint32_t bytesWritten = 0;
  std::string entryName;  // up to the first zero byte, never beyond its field
};

// Copies the first kProgressRecordCopySize bytes of record and reads them; a null record
// reads as zeros.
ProgressRecordFields ReadProgressRecord(const void* record);

// bytesWritten * 100 / entrySize, rounded to the nearest (halves to even), at most 100;
// 0 for an empty entry.
int ProgressPercent(uint32_t bytesWritten, uint32_t entrySize);

struct ProgressUpdate {
  bool showItem = false;  // ProgressItemText and the hint label get itemText
  std::string itemText;
  bool moveBar = false;  // the progress bar goes to percent
  int percent = 0;
};

// One report: now and lastItemTime are GetTickCount values; lastItemTime is updated when the
// item text is shown.
ProgressUpdate DecideProgressUpdate(uint32_t state, const ProgressRecordFields& fields, uint32_t now,
                                    uint32_t& lastItemTime);

// The callback's answer: 0 makes the library stop, 1 lets it go on.
int32_t ProgressAnswer(bool abortRequested);
