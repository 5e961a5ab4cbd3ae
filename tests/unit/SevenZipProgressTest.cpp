#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "SevenZipTestFiles.h"

namespace {

using namespace sevenzip_test;

struct Call {
    unsigned state;
    std::string name;
    uint64_t size;
    uint64_t written;
};

struct RecordingObserver : sevenzip::ExtractObserver {
    explicit RecordingObserver(size_t stopAfter) : stopAfter(stopAfter) {}
    bool OnEntryStart(const sevenzip::ExtractProgress& p) override { return Record(0, p); }
    bool OnEntryWritten(const sevenzip::ExtractProgress& p) override { return Record(1, p); }
    bool Record(unsigned state, const sevenzip::ExtractProgress& p) {
        calls.push_back({state, p.name, p.size, p.written});
        return calls.size() < stopAfter;
    }
    size_t stopAfter;
    std::vector<Call> calls;
};

TEST(SevenZipProgressTest, ReportsEachWrittenChunkAndStopsWhenAsked) {
    ScratchFolder scratch;
    const fs::path archive = scratch.Path() / "p.7z", out = scratch.Path() / "out";
    WriteBytes(scratch.Path() / "src" / "small.txt", "small");
    WriteBytes(scratch.Path() / "src" / "sub" / "large.bin", RandomBytes(600000, 7));
    Make7z(scratch.Path() / "src", archive, "-ms=off");
    const auto extract = [&](RecordingObserver& o) { return sevenzip::RunSevenZipCommand(InstallerCommand(archive, out), o); };

    RecordingObserver observer(SIZE_MAX);
    ASSERT_EQ(extract(observer), sevenzip::kResultOk);
    // 7z stores files before their folder is listed; the order is the archive's.
    std::vector<std::string> starts;
    for (size_t i = 0; i < observer.calls.size(); ++i) {
        const Call& c = observer.calls[i];
        if (c.state == 0) {
            starts.push_back(c.name);
            EXPECT_EQ(c.written, 0u);
            continue;
        }
        const Call& prev = observer.calls[i - 1];
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
    EXPECT_EQ(extract(stopping), sevenzip::kResultStopped);
    EXPECT_EQ(stopping.calls.size(), stopAt + 1);
    EXPECT_FALSE(fs::exists(out / "sub" / "large.bin"));
}

}  // namespace
