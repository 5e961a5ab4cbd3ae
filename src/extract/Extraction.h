#pragma once

#include <string>
#include <string_view>

// The one command given to the archive library: unpack everything with full paths into the
// target folder, without the library's own window, answering yes to every question.
//   x "<archive>" -hide -y "<target folder>\" *
std::string ExtractionCommandLine(std::string_view archivePath, std::string_view targetFolder);

// The library's "SevenZip" result: 0 when the extraction completed.
bool ExtractionSucceeded(int sevenZipResult);

// The archive library's file name in the temporary folder and on the download hosts.
constexpr const char* kArchiveLibraryFile = "7-zip32.dll";
// The download page's display name while the library is fetched.
constexpr const char* kArchiveLibraryDownloadName = "下载解压支持库文件";

// Under the install title "软件安装"; the program ends afterwards.
constexpr const char* kArchiveLibraryDownloadError =
    "下载解压支持库文件时发生错误！！！\r\n\r\n请检查磁盘是否满、是否不可以写入、\r\n杀毒软件拦截、不可以上网等\r\n\r\n"
    "       　－－－－感谢你使用【岚舟软件】";
// The downloaded library does not carry the publisher's signature; it is deleted, never loaded,
// and the program ends (under kPublisherTitle).
constexpr const char* kArchiveLibraryNotPublishers =
    "下载的解压支持库文件不是岚舟软件发布的文件！！！\r\n\r\n可能在下载途中被替换或损坏，为了安全已将它删除，\r\n"
    "请稍后重新安装试试\r\n\r\n       　－－－－感谢你使用【岚舟软件】";
// Under the product title.
constexpr const char* kArchiveLibraryLoadError =
    "无法加载【7-zip32.dll】文件\r\n\r\n此为解压支持库文件，请检查自己检查。";

// The archive path, a blank line and the check error; under the product title.
std::string ArchiveCheckMessage(std::string_view archivePath);
