#include "wizard/PageTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(PageTextsTest, TextsByPageAndPackageKind) {
  const auto extractOnly = PageTexts(4, true);
  ASSERT_EQ(extractOnly.size(), 3u + 4u);
  EXPECT_STREQ(extractOnly[5].text, "安装其实就是解压缩文件，不用时直接删除即可。");
  EXPECT_EQ(extractOnly[5].colour, kRed);
  EXPECT_EQ(PageTexts(4, false).size(), 3u + 5u);

  const auto welcome = PageTexts(1, false);  // no header band
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
