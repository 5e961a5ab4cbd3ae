#include "wizard/ShortcutPlan.h"

#include "support/GbkPath.h"

namespace {

constexpr int32_t kBstChecked = 1;
constexpr int32_t kNormalWindow = 1;  // SW_SHOWNORMAL, also the shortcut's window style

}  // namespace

bool IsChecked(int32_t checkState) { return checkState == kBstChecked; }

FinishPlan PlanFinishActions(const FinishChoices& choices, const PackageInfo& package) {
  const std::string folder = WithTrailingBackslash(choices.folderText);
  // ProgramFile is relative to the folder and may name a subfolder; it is appended as it is.
  const std::string program = folder + package.ProgramFile;
  FinishPlan plan;
  // Without a desktop folder the link would land in the current drive's root.
  if (IsChecked(choices.shortcutCheck) && !choices.desktopFolder.empty()) {
    plan.shortcut = ShortcutLink{WithTrailingBackslash(choices.desktopFolder) + package.PackageTitle + ".lnk",
                                 package.PackageDescription, folder, program, kNormalWindow};
  }
  if (IsChecked(choices.launchCheck)) {
    plan.launch = LaunchRequest{program, folder, folder, kNormalWindow};
  }
  return plan;
}
