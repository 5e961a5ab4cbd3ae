#include "wizard/FolderPickerRules.h"

namespace {

constexpr uint32_t kPickerInitialized = 1;
constexpr uint32_t kPickerSelectionChanged = 2;

}  // namespace

std::string FolderPickerTitle(std::string_view displayName) {
  return "选择安装【" + std::string(displayName) + "】目标文件夹";
}

PickerReply PickerCallbackReply(uint32_t message, std::string_view selectionPath) {
  if (message == kPickerInitialized) return PickerReply::SelectInitialFolder;
  if (message == kPickerSelectionChanged && !PickerAllowsOk(selectionPath)) return PickerReply::DisableOk;
  return PickerReply::Nothing;
}

bool PickerAllowsOk(std::string_view path) { return path.size() >= 2 && path[1] == ':'; }
