#include "wizard/FinishActionsWin32.h"

#include <shellapi.h>
#include <shlobj.h>

#include "contracts/ControlIds.h"
#include "platform/GbkText.h"
#include "state/FormsStateWin32.h"
#include "state/RetrievalState.h"
#include "support/ControlHelpersWin32.h"
#include "support/GbkBstrWin32.h"
#include "support/MessagePumpWin32.h"
#include "wizard/DesktopShellLaunchWin32.h"
#include "wizard/ShortcutPlan.h"
#include "wizard/ShortcutPlanWin32.h"

namespace {

int32_t CheckState(int id) { return static_cast<int32_t>(SendMessageW(ControlWindow(id), BM_GETCHECK, 0, 0)); }

std::string DesktopFolder() {
  wchar_t desktop[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, desktop))) return {};
  return GbkPathFromWide(desktop);
}

void WriteShortcut(const ShortcutLink& link) {
  ShortcutWriter writer(link.linkPath);
  writer.PutText(L"Description", link.description);
  writer.PutText(L"WorkingDirectory", link.workingFolder);
  writer.PutText(L"TargetPath", link.targetPath);
  writer.PutNumber(L"WindowStyle", link.windowStyle);
  writer.Save();
}

void StartDirectly(const LaunchRequest& launch) {
  const GbkBstr file(launch.file), parameters(launch.parameters), folder(launch.workingFolder);
  ShellExecuteW(nullptr, L"open", file.Get(), parameters.Get(), folder.Get(), launch.showCommand);
}

// Started from here, the program would inherit the installer's administrator rights: the
// user's shell starts it where it can, and nobody is told when it cannot.
void Launch(const LaunchRequest& launch) {
  if (!StartThroughDesktopShell(launch)) StartDirectly(launch);
}

}  // namespace

void RunFinishActions(HWND form) {
  const FinishChoices choices{GetControlText(ControlWindow(kFolderEditId)), DesktopFolder(),
                              CheckState(kShortcutCheckId), CheckState(kLaunchCheckId)};
  const FinishPlan plan = PlanFinishActions(choices, Package);
  ShowWindow(form, SW_HIDE);
  // Nothing is checked: a shortcut or a start that fails does not keep the wizard open.
  if (plan.shortcut) WriteShortcut(*plan.shortcut);
  if (plan.launch) Launch(*plan.launch);
  PostClose(form);
}
