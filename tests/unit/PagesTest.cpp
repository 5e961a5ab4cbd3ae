#include <gtest/gtest.h>

#include "pages/PageModel.h"
#include "state/WizardState.h"

namespace {

const PackageInfo kOrdinary{.PackageTitle = "画图", .ProgramFile = "bin\\画图.exe", .PackageDescription = "画图工具"};
const PackageInfo kExtractOnly{.PackageTitle = "素材包", .ProgramFile = "解压缩", .PackageDescription = "素材"};

// Header texts "旧" mean untouched; a null caption means untouched.
const struct {
  bool next;
  int32_t page;
  bool extractOnly;
  int32_t pageAfter;
  const char *title, *subtitle, *caption, *folderEdit;
  WizardAction action;
} kMoves[] = {
    {true, 0, false, 0, "旧", "旧", nullptr, "", WizardAction::None},
    {true, 1, false, 2, "选择安装位置", "选择“画图”的安装文件夹", nullptr, "D:\\岚舟软件\\画图", WizardAction::None},
    {true, 1, true, 1, "旧", "旧", nullptr, "D:\\岚舟软件\\素材", WizardAction::RunInstallAction},
    {true, 2, false, 2, "旧", "旧", nullptr, "", WizardAction::RunInstallAction},
    {true, 3, false, 4, "安装选项", "感谢你使用“画图”", "完成", "", WizardAction::None},
    {true, 3, true, 4, "安装完成", "感谢你使用“素材包”", "完成", "", WizardAction::None},
    {true, 4, false, 4, "旧", "旧", nullptr, "", WizardAction::RunFinishActions},
    {true, 4, true, 4, "旧", "旧", nullptr, "", WizardAction::PostClose},
    {false, 1, false, 1, "旧", "旧", nullptr, "", WizardAction::None},
    {false, 2, false, 1, "旧", "旧", nullptr, "", WizardAction::None},
    {false, 3, false, 2, "选择安装位置", "选择“画图”的安装文件夹", nullptr, "", WizardAction::None},
    {false, 4, true, 3, "解压缩文件", "解压“素材包”的安装包", "下一步", "", WizardAction::None},
};

TEST(PageModelTest, NextAndBackFollowThePageTable) {
  for (const auto& c : kMoves) {
    SCOPED_TRACE(testing::Message() << (c.next ? "Next" : "Back") << " on " << c.page << " " << c.extractOnly);
    const PackageInfo& package = c.extractOnly ? kExtractOnly : kOrdinary;
    CurrentPage = c.page;
    PageTitle = PageSubtitle = "旧";
    const PageMove move = c.next ? NextMove(c.page, package) : BackMove(c.page, package);
    EXPECT_EQ(ApplyPageMove(move, package), c.pageAfter != c.page);
    EXPECT_EQ(CurrentPage, c.pageAfter);
    EXPECT_EQ(PageTitle, c.title);
    EXPECT_EQ(PageSubtitle, c.subtitle);
    EXPECT_STREQ(CaptionText(move.caption), c.caption);
    EXPECT_EQ(FolderFillText(move.folder, "D:\\岚舟软件\\", package), c.folderEdit);
    EXPECT_EQ(move.action, c.action);
  }
}

}  // namespace
