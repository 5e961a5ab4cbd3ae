#include "wizard/ShortcutPlan.h"

#include <gtest/gtest.h>

namespace {

const PackageInfo kPackage{.PackageTitle = "画图", .ProgramFile = "bin\\paint.exe", .PackageDescription = "一个画图工具"};

TEST(ShortcutPlanTest, ShortcutAndLaunchFromTheFolder) {
  const FinishPlan plan = PlanFinishActions({"D:\\My Apps\\誠", "C:\\Users\\a\\Desktop", 1, 1}, kPackage);
  ASSERT_TRUE(plan.shortcut && plan.launch);
  EXPECT_EQ(plan.shortcut->linkPath, "C:\\Users\\a\\Desktop\\画图.lnk");
  EXPECT_EQ(plan.shortcut->workingFolder, "D:\\My Apps\\誠\\");
  EXPECT_EQ(plan.shortcut->targetPath, "D:\\My Apps\\誠\\bin\\paint.exe");
  EXPECT_EQ(plan.launch->file, plan.shortcut->targetPath);
  EXPECT_EQ(plan.launch->parameters, "D:\\My Apps\\誠\\");  // unquoted, spaces and all
}

TEST(ShortcutPlanTest, OnlyCheckedBoxesAct) {
  const struct {
    const char* desktop;
    int32_t shortcutCheck, launchCheck;
    bool shortcut, launch;
  } kCases[] = {{"C:\\Desktop\\", 1, 0, true, false}, {"C:\\Desktop\\", 0, 1, false, true},
                {"C:\\Desktop\\", 2, 2, false, false},
                {"", 1, 1, false, true}};  // no desktop folder: no link in the drive's root
  for (const auto& c : kCases) {
    const FinishPlan plan = PlanFinishActions({"D:\\A\\", c.desktop, c.shortcutCheck, c.launchCheck}, kPackage);
    EXPECT_EQ(plan.shortcut.has_value(), c.shortcut);
    EXPECT_EQ(plan.launch.has_value(), c.launch);
  }
}

}  // namespace
