#include "extract/ExtractionProgress.h"

#include <cstring>

namespace {

uint32_t ReadUint32(const unsigned char* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

}  // namespace

ProgressRecordFields ReadProgressRecord(const void* record) {
  ProgressRecordFields fields;
  if (!record) return fields;
  unsigned char copy[kProgressRecordCopySize];
  std::memcpy(copy, record, sizeof copy);
  fields.entrySize = ReadUint32(copy);
  fields.bytesWritten = ReadUint32(copy + 4);
  // A name without its zero byte is cut at the end of its field.
  const char* name = reinterpret_cast<const char*>(copy + kEntryNameOffset);
  fields.entryName.assign(name, strnlen(name, kEntryNameFieldSize));
  return fields;
}

int ProgressPercent(uint32_t bytesWritten, uint32_t entrySize) {
  if (entrySize == 0) return 0;
  const uint64_t scaled = uint64_t(bytesWritten) * 100;
  uint64_t percent = scaled / entrySize;
  const uint64_t twiceRemainder = scaled % entrySize * 2;
  if (twiceRemainder > entrySize || (twiceRemainder == entrySize && percent % 2 == 1)) ++percent;
  return percent > 100 ? 100 : int(percent);
}

ProgressUpdate DecideProgressUpdate(uint32_t state, const ProgressRecordFields& fields, uint32_t now,
                                    uint32_t& lastItemTime) {
  ProgressUpdate update;
  if (state == kEntryStartState) {
    // Unsigned, so the difference stays right when the millisecond counter wraps.
    if (now - lastItemTime <= kItemTextIntervalMs) return update;
    lastItemTime = now;
    update.showItem = true;
    update.itemText = kExtractingItemPrefix + fields.entryName;
  } else if (state != kEntryWritingState) {
    return update;
  }
  update.moveBar = true;
  update.percent = ProgressPercent(fields.bytesWritten, fields.entrySize);
  return update;
}

int32_t ProgressAnswer(bool abortRequested) { return abortRequested ? 0 : 1; }
