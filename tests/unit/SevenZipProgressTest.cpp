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

class RecordingObserver : public sevenzip::ExtractObserver {
public:
    explicit RecordingObserver(size_t stopAfter) : stopAfter_(stopAfter) {}
    bool OnEntryStart(const sevenzip::ExtractProgress& p) override { return Record(0, p); }
    bool OnEntryWritten(const sevenzip::ExtractProgress& p) override { return Record(1, p); }
    std::vector<Call> calls;

private:
    bool Record(unsigned state, const sevenzip::ExtractProgress& p) {
        calls.push_back({state, p.name, p.size, p.written});
        return calls.size() < stopAfter_;
    }
    size_t stopAfter_;
};

class SevenZipProgressTest : public testing::Test {
protected:
    void SetUp() override {
        WriteBytes(scratch_.Path() / "src" / "small.txt", "small");
        WriteBytes(scratch_.Path() / "src" / "sub" / "large.bin", RandomBytes(600000, 7));
        Make7z(scratch_.Path() / "src", archive_, "-ms=off");
    }
    int Extract(RecordingObserver& observer) {
        return sevenzip::RunSevenZipCommand(InstallerCommand(archive_, scratch_.Path() / "out"), observer);
    }
    ScratchFolder scratch_;
    fs::path archive_ = scratch_.Path() / "p.7z";
};

TEST_F(SevenZipProgressTest, ReportsEachWrittenChunkAndStopsWhenAsked) {
    RecordingObserver observer(SIZE_MAX);
    ASSERT_EQ(Extract(observer), sevenzip::kResultOk);
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
    fs::remove_all(scratch_.Path() / "out");
    size_t stopAt = 0;
    while (observer.calls[stopAt].name != "sub/large.bin" || observer.calls[stopAt].state != 1) ++stopAt;
    RecordingObserver stopping(stopAt + 1);
    EXPECT_EQ(Extract(stopping), sevenzip::kResultStopped);
    EXPECT_EQ(stopping.calls.size(), stopAt + 1);
    EXPECT_FALSE(fs::exists(scratch_.Path() / "out" / "sub" / "large.bin"));
}

}  // namespace
