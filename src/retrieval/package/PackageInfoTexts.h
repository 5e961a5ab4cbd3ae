#pragma once
// What the package-information step tells the user when the package cannot be had.

#include <string>
#include <string_view>

#include "contracts/ProgramIdentity.h"

// Error icon, OK only; the program then ends.
inline constexpr std::string_view kPackageDownloadFailedTitle = kInstallTitle;
inline constexpr std::string_view kPackageDownloadFailedText =
    "下载安装包文件失败！！！\r\n\r\n请检查网络能否连接、杀毒软件有没拦截。\r\n\r\n   　－－－－感谢你使用【岚舟软件】";

// Shown while the package downloads.
inline constexpr std::string_view kPackageDownloadDisplayName = "下载安装包文件";

// Retry and Cancel, error icon: the package holds no information block.
inline constexpr std::string_view kPackageFileErrorTitle = kPublisherTitle;
std::string PackageFileErrorText(std::string_view packagePath);
// Same title and buttons: the downloaded package does not carry the publisher's signature.
std::string PackageNotPublishersText(std::string_view packagePath);
