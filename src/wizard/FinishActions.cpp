#include "wizard/FinishActions.h"

#include <shlobj.h>
#include <shellapi.h>

#include "support/MessagePump.h"
#include "support/ControlHelpers.h"
#include "contracts/ControlIds.h"
#include "state/FormsState.h"
#include "state/RetrievalState.h"
#include "wizard/ShortcutPlan.h"
#include "wizard/ShortcutPlanWin32.h"

namespace {

int32_t CheckState(int id) { return static_cast<int32_t>(SendMessageA(ControlWindow(id), BM_GETCHECK, 0, 0)); }

std::string DesktopFolder() {
  wchar_t desktop[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, desktop))) return {};
  char ansi[MAX_PATH * 2] = "";
  WideCharToMultiByte(CP_ACP, 0, desktop, -1, ansi, sizeof ansi, nullptr, nullptr);
  return ansi;
}

void WriteShortcut(const ShortcutLink& link) {
  ShortcutWriter writer(link.linkPath);
  writer.PutText(L"Description", link.description);
  writer.PutText(L"WorkingDirectory", link.workingFolder);
  writer.PutText(L"TargetPath", link.targetPath);
  writer.PutNumber(L"WindowStyle", link.windowStyle);
  writer.Save();
}

void Launch(const LaunchRequest& launch) {
  // The started program inherits its working folder from ours.
  SetCurrentDirectoryA(launch.currentFolder.c_str());
  ShellExecuteA(nullptr, "open", launch.file.c_str(), launch.parameters.c_str(), nullptr, launch.showCommand);
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
