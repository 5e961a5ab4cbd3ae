#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ProgressRecord.h"
#include "SevenZipTestFiles.h"

namespace {

using namespace sevenzip_test;

// The large file's folder is decoded ahead of the writing: by one thread, or by several
// when its blocks are independent.
class SevenZipProgressFolders : public testing::TestWithParam<const char*> {};

TEST_P(SevenZipProgressFolders, ReportsEachWrittenChunkAndStopsWhenAsked) {
  ScratchFolder scratch;
  const fs::path archive = scratch.Path() / "p.7z", out = scratch.Path() / "out";
  WriteBytes(scratch.Path() / "src" / "small.txt", "small");
  WriteBytes(scratch.Path() / "src" / "sub" / "large.bin", RandomBytes(600000, 7));
  Make7z(scratch.Path() / "src", archive, GetParam());

  RecordingObserver observer;
  ASSERT_EQ(Extract(archive, out, &observer), sevenzip::kResultOk);
  // 7z stores files before their folder is listed; the order is the archive's.
  std::vector<std::string> starts;
  const auto& calls = observer.calls;
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].state == 0) {
      starts.push_back(calls[i].name);
      EXPECT_EQ(calls[i].written, 0u);
      continue;
    }
    EXPECT_EQ(calls[i].name, calls[i - 1].name);
    EXPECT_GT(calls[i].written, calls[i - 1].written);
    const bool entryEnds = i + 1 == calls.size() || calls[i + 1].state == 0;
    EXPECT_TRUE(entryEnds ? calls[i].written == calls[i].size : calls[i].written < calls[i].size) << i;
  }
  std::sort(starts.begin(), starts.end());
  EXPECT_EQ(starts, (std::vector<std::string>{"small.txt", "sub", "sub/large.bin"}));
  EXPECT_GE(calls.size(), 3u + 600000 / (1 << 18) + 1);

  // Stopped at the first write of the large file, the call after its start: that file goes.
  fs::remove_all(out);
  size_t stopAt = 0;
  while (calls[stopAt].name != "sub/large.bin" || calls[stopAt].state != 1) ++stopAt;
  RecordingObserver stopping(stopAt + 1);
  EXPECT_EQ(Extract(archive, out, &stopping), sevenzip::kResultStopped);
  EXPECT_EQ(stopping.calls.size(), stopAt + 1);
  EXPECT_FALSE(fs::exists(out / "sub" / "large.bin"));
}

INSTANTIATE_TEST_SUITE_P(Switches, SevenZipProgressFolders,
                         testing::Values("-ms=off", "-ms=off -m0=LZMA2:d=64k:c=64k"));

TEST(SevenZipProgressTest, WriteReportsArePacedButAnEntrysEndAlwaysGoes) {
  constexpr uint32_t kGap = sevenzip::kWriteReportIntervalMs, kWrapStart = 0xFFFFFFF8u;
  const std::tuple<uint64_t, uint32_t, bool> steps[] = {{1, 100, true},
                                                        {2, 99 + kGap, false},
                                                        {3, 100 + kGap, true},
                                                        {4, 104 + kGap, false},
                                                        {10, 105 + kGap, true},  // the entry's last bytes
                                                        {1, kWrapStart, true},
                                                        {2, kWrapStart + kGap - 1, false},
                                                        {3, kWrapStart + kGap, true}};  // the counter wraps
  sevenzip::WriteReportPacer pacer;
  for (const auto& [written, now, due] : steps) EXPECT_EQ(pacer.Due({"a.bin", 10, written}, now), due) << now;
}

}  // namespace
