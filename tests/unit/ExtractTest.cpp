#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "ProgressRecord.h"
#include "extract/ExtractionProgress.h"

namespace {

// The library writes the record and the installer reads its copy; each record is exactly
// as long as the part that is copied, so a longer read trips the sanitizer.
TEST(ExtractionProgressTest, ReadsTheRecordTheLibraryWrites) {
  const struct {
    std::string name;
    uint64_t size, written;
    uint32_t readSize, readWritten;
    size_t readNameLength;
  } cases[] = {
      {"文档\\说明.txt", 0x01020304, 77, 0x01020304, 77, 13},
      {std::string(600, 'n'), 5ull << 32, 1ull << 33, 0xFFFFFFFF, 0xFFFFFFFF, 512},  // clamped and cut
      {"", 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const auto record =
        std::make_unique<SevenZipProgressRecord>(sevenzip::MakeProgressRecord({c.name, c.size, c.written}));
    const ProgressRecordFields fields = ReadProgressRecord(record.get());
    EXPECT_EQ(fields.entrySize, c.readSize);
    EXPECT_EQ(fields.bytesWritten, c.readWritten);
    EXPECT_EQ(fields.entryName, c.name.substr(0, c.readNameLength));
  }
  // No zero byte in the name field: the name stops at the field's end.
  const auto unterminated = std::make_unique<SevenZipProgressRecord>();
  std::memset(unterminated.get(), 'A', sizeof *unterminated);
  EXPECT_EQ(ReadProgressRecord(unterminated.get()).entryName, std::string(kEntryNameFieldSize, 'A'));
  EXPECT_EQ(ReadProgressRecord(nullptr).entrySize, 0u);
  EXPECT_TRUE(ReadProgressRecord(nullptr).entryName.empty());
}

TEST(ExtractionProgressTest, PercentRoundsHalvesToEvenAndStaysWithinTheBar) {
  const std::tuple<uint32_t, uint32_t, int> cases[] = {
      {5, 0, 0}, {2, 3, 67}, {1, 200, 0}, {5, 200, 2}, {7, 200, 4}, {20, 10, 100}, {0x7FFFFFFFu, 0xFFFFFFFFu, 50},
  };
  for (const auto& [written, size, percent] : cases) EXPECT_EQ(ProgressPercent(written, size), percent) << written;
}

TEST(ExtractionProgressTest, NamesTheEntryAtMostEvery300MsAndMovesTheBarOnEveryReport) {
  const ProgressRecordFields fields{200, 100, "bin\\x.exe"};
  const std::tuple<uint32_t, uint32_t, bool, bool> reports[] = {
      {kEntryStartState, 301, true, true},  // the last time starts at 0
      {kEntryWritingState, 302, false, true},
      {kEntryStartState, 601, false, false},  // exactly 300 ms later: not yet
      {kEntryStartState, 602, true, true},
      {2, 2000, false, false},
      {kEntryStartState, 0xFFFFFFF0u, true, true},
      {kEntryStartState, 0x200, true, true},  // the counter wrapped: 0x210 ms later
  };
  uint32_t lastItemTime = 0;
  for (const auto& [state, now, showItem, moveBar] : reports) {
    SCOPED_TRACE(now);
    const ProgressUpdate update = DecideProgressUpdate(state, fields, now, lastItemTime);
    EXPECT_EQ(update.showItem, showItem);
    EXPECT_EQ(update.moveBar, moveBar);
    if (update.showItem) {
      EXPECT_EQ(update.itemText, "解压：bin\\x.exe");
      EXPECT_EQ(lastItemTime, now);
    }
    EXPECT_EQ(update.percent, moveBar ? 50 : 0);
  }
}

}  // namespace
