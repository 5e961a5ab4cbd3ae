#include "wizard/FolderPickerRules.h"
#include "wizard/FolderRules.h"

#include <gtest/gtest.h>

namespace {

TEST(FolderRulesTest, TargetFolderChecks) {
  const struct {
    const char* typed;
    FolderVerdict verdict;
    const char* folder;
  } kCases[] = {
      {"D:", FolderVerdict::BareDrive, ""},
      {"  D:\\  ", FolderVerdict::BareDrive, ""},
      {"DX", FolderVerdict::PathError, ""},
      {"\\\\server\\share", FolderVerdict::PathError, ""},
      {"D:/Games", FolderVerdict::PathError, ""},
      {"  D:\\Games\\X \t", FolderVerdict::Accepted, "D:\\Games\\X\\"},
      {"D:\\Games\\X\\", FolderVerdict::Accepted, "D:\\Games\\X\\"},
      {"D:\\誠", FolderVerdict::Accepted, "D:\\誠\\"},  // the last byte is 0x5C inside a character
      {"D:\\誠\\", FolderVerdict::Accepted, "D:\\誠\\"},
      // Other spellings of a drive's root, and of a folder.
      {"D:\\\\", FolderVerdict::BareDrive, ""},
      {"D:\\.", FolderVerdict::BareDrive, ""},
      {"D:\\x\\..", FolderVerdict::BareDrive, ""},
      {"D:\\誠\\..\\", FolderVerdict::BareDrive, ""},
      {"D:\\Games\\.\\Y\\..\\X", FolderVerdict::Accepted, "D:\\Games\\X\\"},
      {"D:\\誠\\x", FolderVerdict::Accepted, "D:\\誠\\x\\"},
      {"\\\\\\server\\share", FolderVerdict::PathError, ""},
  };
  for (const auto& c : kCases) {
    const FolderCheck check = CheckTargetFolder(c.typed);
    EXPECT_EQ(check.verdict, c.verdict) << c.typed;
    EXPECT_EQ(check.folder, c.folder) << c.typed;
    EXPECT_EQ(FolderCheckMessage(check.verdict) == nullptr, c.verdict == FolderVerdict::Accepted);
  }
}

TEST(FolderPickerRulesTest, OkOnlyForDriveLetterFolders) {
  const struct {
    uint32_t message;
    const char* selection;
    PickerReply reply;
  } kCases[] = {
      {1, "", PickerReply::SelectInitialFolder},         {2, "C:\\Users\\a", PickerReply::Nothing},
      {2, "", PickerReply::DisableOk},                    // a virtual item
      {2, "\\\\server\\share", PickerReply::DisableOk},  // a network path
  };
  for (const auto& c : kCases) EXPECT_EQ(PickerCallbackReply(c.message, c.selection), c.reply) << c.selection;
}

}  // namespace
