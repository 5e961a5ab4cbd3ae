#include "wizard/FolderPickerRules.h"

#include <gtest/gtest.h>

namespace {

TEST(FolderPickerRulesTest, CallbackRepliesByMessageAndSelection) {
  const struct {
    uint32_t message;
    const char* selection;
    PickerReply reply;
  } kCases[] = {
      {1, "", PickerReply::SelectInitialFolder}, {2, "D:\\", PickerReply::Nothing},
      {2, "C:\\Users\\a", PickerReply::Nothing}, {2, "", PickerReply::DisableOk},  // a virtual item
      {2, "\\\\server\\share", PickerReply::DisableOk},                            // a network path
      {3, "", PickerReply::Nothing},
  };
  for (const auto& c : kCases) EXPECT_EQ(PickerCallbackReply(c.message, c.selection), c.reply) << c.selection;
}

}  // namespace
