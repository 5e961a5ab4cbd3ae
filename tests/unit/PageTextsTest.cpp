#include "wizard/PageTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(PageTextsTest, TextsByPageAndPackageKind) {
  // The extract-only finish page tells, in red, that nothing needs uninstalling.
  const auto extractOnly = PageTexts(4, true);
  ASSERT_GT(extractOnly.size(), 5u);
  EXPECT_STREQ(extractOnly[5].text, "安装其实就是解压缩文件，不用时直接删除即可。");
  EXPECT_EQ(extractOnly[5].colour, kRed);

  const auto welcome = PageTexts(1, false);  // the version line, centred on the picture's right
  ASSERT_EQ(welcome.size(), 8u);
  EXPECT_EQ(welcome[7].alignWidth, 325);
  EXPECT_EQ(TextOf(welcome[7], {.versionLine = "版本：2.1   发布日期：2024-05-01"}), "版本：2.1   发布日期：2024-05-01");
  EXPECT_TRUE(PageTexts(7, false).empty());
}

TEST(PageTextsTest, VersionLineOnlyOnceAPackageWasRead) {
  EXPECT_EQ(WelcomeVersionLine({}), "");
  EXPECT_EQ(WelcomeVersionLine({.PackageVersion = "2.1", .ReleaseDate = "2024-05-01", .PackagePath = "C:\\T\\188.7z"}),
            "版本：2.1   发布日期：2024-05-01");
}

}  // namespace
