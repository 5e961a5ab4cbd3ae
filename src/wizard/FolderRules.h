#pragma once

#include <string>
#include <string_view>

#include "contracts/ProgramIdentity.h"

constexpr const char* kInstallMessageTitle = kInstallTitle;
constexpr const char* kMustUseFolderMessage =
    "必须安装在文件夹中！！！\r\n\r\n已经你增加了文件夹，请查看\r\n\r\n   　　－－－－感谢你使用【岚舟软件】";
constexpr const char* kFolderPathErrorMessage =
    "目标文件夹路径错误！！！\r\n\r\n请检查输入完整的目标文件夹\r\n\r\n　　　－－－－感谢你使用【岚舟软件】";

enum class FolderVerdict {
  Accepted,
  BareDrive,  // a drive letter and a colon: the edit box is refilled with a default folder
  PathError,  // too short, or not a drive-letter path (network paths included)
};

struct FolderCheck {
  FolderVerdict verdict;
  std::string folder;  // when accepted: trimmed and ending with "\", to be written back
};

// The target folder as typed into the folder edit box.
FolderCheck CheckTargetFolder(std::string_view editText);

// The message a refused folder gets (under kInstallMessageTitle); null when accepted.
const char* FolderCheckMessage(FolderVerdict verdict);
