// snprintf in the installer goes to the system formatter; it must keep C99's results.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

TEST(SystemPrintfTest, FormatsTerminatesAndReportsTheWholeLength) {
  const struct {
    const char* Name;
    std::size_t Size;
    std::string Text;
    int Length;
  } cases[] = {
      {"FitsExactly", 16, "42 KB 1.5 100%", 14},
      {"CutToTheBuffer", 6, "42 KB", 14},
      {"OneByteBuffer", 1, "", 14},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(std::snprintf(buffer, c.Size, "%d KB %.1f %u%%", 42, 1.5, 100u), c.Length);
    EXPECT_EQ(std::string(buffer), c.Text);
    EXPECT_EQ(buffer[c.Size], '#');  // nothing written past the buffer
  }
}

TEST(SystemPrintfTest, SizeZeroOnlyCounts) {
  char untouched = '#';
  EXPECT_EQ(std::snprintf(&untouched, 0, "%s-%lld", "已下载", static_cast<long long>(INT64_C(1) << 40)),
            static_cast<int>(std::string("已下载").size() + 1 + 13));
  EXPECT_EQ(untouched, '#');
}

TEST(SystemPrintfTest, SixtyFourBitValues) {
  char buffer[32];
  EXPECT_EQ(std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(INT64_C(5000000000))), 10);
  EXPECT_STREQ(buffer, "5000000000");
}

}  // namespace
