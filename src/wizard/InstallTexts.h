#pragma once

// Texts of the install action, in the order the action reaches them.

constexpr const char* kStoppingProgramsText = "强制终止运行中的软件中...........";
constexpr const char* kCreateFolderErrorMessage =
    "创建文件夹时出错，无法创建文件夹\r\n\r\n可能是以下原因造成的：\r\n\r\n1.磁盘已满，请换个盘安装！\r\n"
    "2.此盘是光驱，请换个盘安装！\r\n3.没有此盘，请换个盘安装！\r\n4.文件夹名称有非法字符，请更名！\r\n\r\n"
    "        　　　－－－－请自己检查后更正。";
// Shown with an empty title.
constexpr const char* kInstallErrorMessage =
    "安装文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、杀毒软件拦截等\r\n\r\n"
    "　　　－－－－感谢你使用【岚舟软件】";
// Also the progress item text left for the finish page.
constexpr const char* kExtractionDoneText = "解压完成，请点下一步继续";
