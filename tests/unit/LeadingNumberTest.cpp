#include <gtest/gtest.h>

#include "support/LeadingNumber.h"

namespace {

TEST(LeadingNumber, ReadsTheLeadingNumericPart) {
  const struct {
    const char* text;
    double value;
    int integer;
  } cases[] = {
      {"99", 99, 99},     {" 12abc", 12, 12},  {"-16", -16, -16}, {"2.5", 2.5, 2},      {"3.5x", 3.5, 4},
      {"abc", 0, 0},      {"", 0, 0},          {"+7", 7, 7},      {".5", 0.5, 0},      {"0x1A", 0, 0},
      {"99999999999", 99999999999.0, 2147483647},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
    EXPECT_EQ(LeadingInteger(c.text), c.integer) << c.text;
  }
}

}  // namespace
