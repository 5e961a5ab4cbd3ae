// Moving through the pages with Next and Back, the folder picker and closing while idle.
#include "WizardFixture.h"

namespace {

using NavigationTest = WizardTest;

BOOL CALLBACK CollectTexts(HWND child, LPARAM texts) {
  *reinterpret_cast<std::string*>(texts) += WindowText(child) + "\n";
  return TRUE;
}

TEST_F(NavigationTest, NextAndBackRefillTheFolderAndShowEachPagesControls) {
  const HWND form = StartWithPackage(Installer(), OrdinaryPackage());
  ASSERT_TRUE(form);
  const HWND edit = GetDlgItem(form, kFolderEditId);

  ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFolderRow)) << VisibleControls(form);
  EXPECT_EQ(WindowText(edit), OfferedFolder(kTitle));
  EXPECT_EQ(WindowText(GetDlgItem(form, kNextButtonId)), "下一步");

  TypeText(edit, "C:\\typed\\elsewhere");
  ASSERT_TRUE(ClickAndWaitForPage(form, kBackButtonId, kWelcomeRow)) << VisibleControls(form);
  ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFolderRow)) << VisibleControls(form);
  EXPECT_EQ(WindowText(edit), OfferedFolder(kTitle));  // what was typed is gone

  // Idle: Cancel closes without a question.
  Click(GetDlgItem(form, kCancelButtonId));
  ExpectExitCode(0);
}

TEST_F(NavigationTest, BrowseOpensThePickerAndCancellingKeepsTheFolder) {
  const HWND form = StartWithPackage(Installer(), OrdinaryPackage());
  ASSERT_TRUE(form);
  ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFolderRow)) << VisibleControls(form);
  const HWND edit = GetDlgItem(form, kFolderEditId);
  const std::string typed = programFilesFolder + "\\typed";
  TypeText(edit, typed);

  Click(GetDlgItem(form, kBrowseButtonId));
  const auto picker = WaitForMessageBox(installer.Id(), 10000);
  ASSERT_TRUE(picker.has_value()) << "the folder picker did not open";
  std::string texts;
  EnumChildWindows(picker->window, CollectTexts, reinterpret_cast<LPARAM>(&texts));
  EXPECT_NE(texts.find(std::string("选择安装【") + kTitle + "】目标文件夹\n"), std::string::npos) << texts;
  PressMessageBoxButton(*picker, IDCANCEL);
  EXPECT_TRUE(WaitUntil([&] { return FindMessageBoxes(installer.Id()).empty(); }, 5000));
  EXPECT_EQ(WindowText(edit), typed);
  EXPECT_EQ(VisibleControls(form), kFolderRow);
}

// The test build goes from the folder page straight to the finish page; Back leads through
// the extraction page to the folder page.
TEST_F(NavigationTest, BackFromTheFinishPage) {
  const HWND form = StartWithPackage(SkipExtractionInstaller(), OrdinaryPackage());
  ASSERT_TRUE(form);
  const HWND next = GetDlgItem(form, kNextButtonId);
  ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFolderRow)) << VisibleControls(form);
  ASSERT_TRUE(ClickAndWaitForPage(form, kNextButtonId, kFinishRow)) << VisibleControls(form);
  EXPECT_EQ(WindowText(next), "完成");
  ASSERT_TRUE(ClickAndWaitForPage(form, kBackButtonId, kExtractionRow)) << VisibleControls(form);
  EXPECT_EQ(WindowText(next), "下一步");
  ASSERT_TRUE(ClickAndWaitForPage(form, kBackButtonId, kFolderRow)) << VisibleControls(form);
}

}  // namespace
