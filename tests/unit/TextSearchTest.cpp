#include "support/TextSearch.h"

#include <gtest/gtest.h>

TEST(TextSearch, TextBetweenFindsTheFirstKeyAndTheNextTerminator) {
  struct Case {
    std::string_view text, key, terminator, expected;
  } cases[] = {
      {"Location: /a\r\nX: b\r\n", "Location: ", "\r\n", "/a"},
      {"a=1;a=2;", "a=", ";", "1"},
      {"key;", "key", ";", ""},
      {"no key here\r\n", "Location: ", "\r\n", ""},
      {"Location: /unterminated", "Location: ", "\r\n", ""},
      {"location: /lower\r\n", "Location: ", "\r\n", ""},
      // The terminator is looked for only after the key.
      {";x=5;", "x=", ";", "5"},
      {std::string_view("a\0b=\0z|", 7), "b=", "|", std::string_view("\0z", 2)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.key, c.terminator), c.expected) << c.text;
  }
}

TEST(TextSearch, TextAfterTakesEverythingAfterTheFirstDelimiter) {
  struct Case {
    std::string_view text, delimiter, expected;
  } cases[] = {
      {"head\r\n\r\nbody\r\n\r\nmore", "\r\n\r\n", "body\r\n\r\nmore"},
      {"head\r\n\r\n", "\r\n\r\n", ""},
      {"no delimiter", "\r\n\r\n", ""},
      {"Ab", "a", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextAfter(c.text, c.delimiter), c.expected) << c.text;
  }
}
