#include <gtest/gtest.h>

#include "support/TextSplit.h"

namespace {

struct SplitCase {
  const char* text;
  const char* delimiter;
  std::vector<std::string> pieces;
};

TEST(SplitText, SplitsAtEveryDelimiter) {
  const SplitCase cases[] = {
      {"99|100", "|", {"99", "100"}},
      {"abc", "|", {"abc"}},
      {"a||", "|", {"a", "", ""}},
      {"|a", "|", {"", "a"}},
      {"x<>y<>z", "<>", {"x", "y", "z"}},
      {"abc", "", {"abc"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> list{"stale"};
    EXPECT_EQ(SplitText(c.text, c.delimiter, list), static_cast<int>(c.pieces.size())) << c.text;
    EXPECT_EQ(list, c.pieces) << c.text;
  }
}

TEST(SplitText, EmptyTextLeavesListAlone) {
  std::vector<std::string> list{"kept"};
  EXPECT_EQ(SplitText("", "|", list), -1);
  EXPECT_EQ(list, std::vector<std::string>{"kept"});
}

TEST(ReplaceText, ReplacesLeftToRightWithoutRescanning) {
  const struct {
    const char* text;
    const char* find;
    const char* with;
    const char* result;
  } cases[] = {
      {"aaa", "a", "aa", "aaaaaa"},
      {"aaaa", "aa", "b", "bb"},
      {"a.7z", ".7z", ".rar", "a.rar"},
      {"abc", "x", "y", "abc"},
      {"abc", "", "y", "abc"},
      {"abcabc", "abc", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceText(c.text, c.find, c.with), c.result) << c.text << "/" << c.find;
}

}  // namespace
