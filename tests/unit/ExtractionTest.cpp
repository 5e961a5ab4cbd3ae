#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "extract/CleanupPlan.h"
#include "extract/ExtractionCommand.h"
#include "extract/ExtractionProgress.h"

namespace {

TEST(ExtractionCommandTest, QuotesArchiveAndFolderAndEndsTheFolderWithABackslash) {
  const struct {
    const char* archive;
    const char* folder;
    const char* expected;
  } cases[] = {
      {"C:\\Temp\\188.7z", "D:\\岚舟软件\\象棋\\", "x \"C:\\Temp\\188.7z\" -hide -y \"D:\\岚舟软件\\象棋\\\" *"},
      {"C:\\My Temp\\188.7z", "D:\\Program Files\\X", "x \"C:\\My Temp\\188.7z\" -hide -y \"D:\\Program Files\\X\\\" *"},
      // 誠 ends with the byte 0x5C: still no backslash of its own.
      {"C:\\t\\1.7z", "D:\\誠", "x \"C:\\t\\1.7z\" -hide -y \"D:\\誠\\\" *"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractionCommandLine(c.archive, c.folder), c.expected) << c.folder;
}

// A record exactly as long as the part that is copied, so a longer read trips the sanitizer.
std::unique_ptr<unsigned char[]> MakeRecord(uint32_t size, uint32_t written, const std::string& name) {
  auto record = std::make_unique<unsigned char[]>(kProgressRecordCopySize);
  std::memset(record.get(), 'A', kProgressRecordCopySize);
  std::memcpy(record.get(), &size, 4);
  std::memcpy(record.get() + 4, &written, 4);
  std::memcpy(record.get() + kEntryNameOffset, name.data(), name.size());
  return record;
}

TEST(ExtractionProgressTest, ReadsTheLeadingFieldsOfTheCopiedRecord) {
  auto record = MakeRecord(0x01020304, 77, std::string("文档\\说明.txt") + '\0');
  ProgressRecordFields fields = ReadProgressRecord(record.get());
  EXPECT_EQ(fields.entrySize, 0x01020304u);
  EXPECT_EQ(fields.bytesWritten, 77u);
  EXPECT_EQ(fields.entryName, "文档\\说明.txt");

  // No zero byte in the name field: the name stops at the field's end.
  record = MakeRecord(1, 1, "");
  EXPECT_EQ(ReadProgressRecord(record.get()).entryName, std::string(kEntryNameFieldSize, 'A'));

  fields = ReadProgressRecord(nullptr);
  EXPECT_EQ(fields.entrySize, 0u);
  EXPECT_TRUE(fields.entryName.empty());
}

TEST(ExtractionProgressTest, PercentRoundsHalvesToEvenAndStaysWithinTheBar) {
  const struct {
    uint32_t written, size;
    int expected;
  } cases[] = {
      {5, 0, 0},   {2, 3, 67},   {1, 200, 0},      {5, 200, 2},
      {7, 200, 4}, {20, 10, 100}, {0x7FFFFFFFu, 0xFFFFFFFFu, 50},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgressPercent(c.written, c.size), c.expected) << c.written << "/" << c.size;
}

TEST(ExtractionProgressTest, NamesTheEntryAtMostEvery300MsAndMovesTheBarOnEveryReport) {
  const ProgressRecordFields fields{200, 100, "bin\\x.exe"};
  const struct {
    uint32_t state, now;
    bool showItem, moveBar;
  } reports[] = {
      {kEntryStartState, 301, true, true},    // the last time starts at 0
      {kEntryWritingState, 302, false, true},
      {kEntryStartState, 601, false, false},  // exactly 300 ms later: not yet
      {kEntryStartState, 602, true, true},
      {2, 2000, false, false},
      {kEntryStartState, 0xFFFFFFF0u, true, true},
      {kEntryStartState, 0x200, true, true},  // the counter wrapped: 0x210 ms later
  };
  uint32_t lastItemTime = 0;
  for (const auto& r : reports) {
    SCOPED_TRACE(r.now);
    const ProgressUpdate update = DecideProgressUpdate(r.state, fields, r.now, lastItemTime);
    EXPECT_EQ(update.showItem, r.showItem);
    EXPECT_EQ(update.moveBar, r.moveBar);
    if (update.showItem) {
      EXPECT_EQ(update.itemText, "解压：bin\\x.exe");
      EXPECT_EQ(lastItemTime, r.now);
    }
    if (update.moveBar) EXPECT_EQ(update.percent, 50);
  }
}

TEST(ExtractionCleanupTest, DeletesPackageAndLibraryOnlyOncePackageInformationWasRead) {
  const CleanupPlan plan = CleanupOnDestroy("C:\\Temp\\188.7z", "C:\\Temp\\");
  EXPECT_TRUE(plan.releaseLibrary);
  EXPECT_EQ(plan.packagePath, "C:\\Temp\\188.7z");
  EXPECT_EQ(plan.libraryPath, "C:\\Temp\\7-zip32.dll");

  const CleanupPlan nothing = CleanupOnDestroy("", "C:\\Temp\\");
  EXPECT_FALSE(nothing.releaseLibrary);
  EXPECT_TRUE(nothing.packagePath.empty());
  EXPECT_TRUE(nothing.libraryPath.empty());
}

}  // namespace
