#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ProgressRecord.h"
#include "SevenZipTestFiles.h"

namespace {

using namespace sevenzip_test;

TEST(SevenZipProgressTest, ReportsEachWrittenChunkAndStopsWhenAsked) {
    ScratchFolder scratch;
    const fs::path archive = scratch.Path() / "p.7z", out = scratch.Path() / "out";
    WriteBytes(scratch.Path() / "src" / "small.txt", "small");
    WriteBytes(scratch.Path() / "src" / "sub" / "large.bin", RandomBytes(600000, 7));
    Make7z(scratch.Path() / "src", archive, "-ms=off");

    RecordingObserver observer;
    ASSERT_EQ(Extract(archive, out, observer), sevenzip::kResultOk);
    // 7z stores files before their folder is listed; the order is the archive's.
    std::vector<std::string> starts;
    for (size_t i = 0; i < observer.calls.size(); ++i) {
        const RecordingObserver::Call& c = observer.calls[i];
        if (c.state == 0) {
            starts.push_back(c.name);
            EXPECT_EQ(c.written, 0u);
            continue;
        }
        const RecordingObserver::Call& prev = observer.calls[i - 1];
        EXPECT_EQ(c.name, prev.name);
        EXPECT_GT(c.written, prev.written);
        EXPECT_LE(c.written, c.size);
        if (i + 1 == observer.calls.size() || observer.calls[i + 1].state == 0) {
            EXPECT_EQ(c.written, c.size);
        }
    }
    std::sort(starts.begin(), starts.end());
    EXPECT_EQ(starts, (std::vector<std::string>{"small.txt", "sub", "sub/large.bin"}));
    EXPECT_GE(observer.calls.size(), 3u + 600000 / (1 << 18) + 1);

    // Stopped at the first write of the large file, the call after its start: that file goes.
    fs::remove_all(out);
    size_t stopAt = 0;
    while (observer.calls[stopAt].name != "sub/large.bin" || observer.calls[stopAt].state != 1) ++stopAt;
    RecordingObserver stopping(stopAt + 1);
    EXPECT_EQ(Extract(archive, out, stopping), sevenzip::kResultStopped);
    EXPECT_EQ(stopping.calls.size(), stopAt + 1);
    EXPECT_FALSE(fs::exists(out / "sub" / "large.bin"));
}

TEST(SevenZipProgressTest, WriteReportsArePacedButAnEntrysEndAlwaysGoes) {
    const std::string name = "a.bin";
    const struct { uint64_t written; uint32_t now; bool due; } steps[] = {
        {1, 100, true}, {2, 115, false}, {3, 116, true}, {4, 120, false}, {10, 121, true},
        {1, 0xFFFFFFF8u, true}, {2, 5, false}, {3, 8, true}};  // the millisecond counter wraps
    sevenzip::WriteReportPacer pacer;
    for (const auto& step : steps) EXPECT_EQ(pacer.Due({name, 10, step.written}, step.now), step.due) << step.now;
}

}  // namespace
