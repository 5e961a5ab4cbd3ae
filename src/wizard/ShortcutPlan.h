#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pages/PageModel.h"

// What the finish page's check boxes ask for and where things go.
struct FinishChoices {
  std::string folderText;     // the folder edit box's text
  std::string desktopFolder;  // the user's desktop folder, ANSI; empty when unknown
  int32_t shortcutCheck;      // BM_GETCHECK results
  int32_t launchCheck;
};

struct ShortcutLink {
  std::string linkPath;
  std::string description;
  std::string workingFolder;
  std::string targetPath;
  int32_t windowStyle;
};

// The installed program, opened with its folder as the working folder and, unquoted as it
// always was, as its parameter string.
struct LaunchRequest {
  std::string file;
  std::string parameters;
  std::string workingFolder;
  int32_t showCommand;
};

struct FinishPlan {
  std::optional<ShortcutLink> shortcut;
  std::optional<LaunchRequest> launch;
};

// Only a plain check (BST_CHECKED) counts; an indeterminate box does not.
bool IsChecked(int32_t checkState);

FinishPlan PlanFinishActions(const FinishChoices& choices, const PackageInfo& package);
