// snprintf in the installer goes to the system formatter; it must keep C99's results: the
// text cut to the buffer and always terminated, the whole text's length returned, size 0
// only counting, 64-bit values.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

TEST(SystemPrintfTest, KeepsTheResultsOfC99) {
  const struct {
    std::size_t size;
    const char* text;
  } cases[] = {{16, "42 KB 1.5 100%"}, {6, "42 KB"}, {1, ""}};
  char buffer[32];
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(std::snprintf(buffer, c.size, "%d KB %.1f %u%%", 42, 1.5, 100u), 14);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(buffer[c.size], '#');  // nothing written past the buffer
  }
  char untouched = '#';
  EXPECT_EQ(std::snprintf(&untouched, 0, "%s-%lld", "已下载", 1LL << 40), static_cast<int>(std::strlen("已下载")) + 14);
  EXPECT_EQ(untouched, '#');
  EXPECT_EQ(std::snprintf(buffer, sizeof buffer, "%lld", 5000000000LL), 10);
  EXPECT_STREQ(buffer, "5000000000");
}

}  // namespace
