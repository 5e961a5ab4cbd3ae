#pragma once
// The package information block: a short GBK text block within the last bytes of a package
// archive that names the software, its program file, version, date and description.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The block lies within the last kPackageTailSize bytes of a package longer than
// kPackageMinimumSize bytes.
inline constexpr std::size_t kPackageTailSize = 2000;
inline constexpr std::uint64_t kPackageMinimumSize = 2500;

inline constexpr std::string_view kPackageSectionName = "岚舟软件安装包文件信息";
inline constexpr std::string_view kPackageLineEnd = "\r\n";
// Lines read after the section line; anything further is ignored.
inline constexpr int kPackageInfoLineCount = 6;
// Recognised by writers of the block; the installer does not use its value.
inline constexpr std::string_view kPackageIdKey = "ID=";
// The program-file value of a package that is only unpacked, with nothing to start.
inline constexpr std::string_view kExtractOnlyProgramFile = "解压缩";

struct PackageInfo {
  std::string PackageTitle;
  std::string ProgramFile;
  std::string PackageVersion;
  std::string ReleaseDate;
  std::string PackageDescription;
  // Full path of the package archive; as long as it needs to be.
  std::string PackagePath;
};

struct PackageInfoKey {
  std::string_view Prefix;
  std::size_t MaxBytes;
  std::string PackageInfo::*Value;
};

// The value keys in the order a block lists them (after the ID line).
inline const std::array<PackageInfoKey, 5> kPackageInfoKeys = {{
    {"名称=", 29, &PackageInfo::PackageTitle},
    {"文件名=", 99, &PackageInfo::ProgramFile},
    {"版本号=", 29, &PackageInfo::PackageVersion},
    {"日期=", 19, &PackageInfo::ReleaseDate},
    {"说明=", 199, &PackageInfo::PackageDescription},
}};

// Reads the values from a package tail; empty when the section name is not in it.
// PackagePath is left empty.
std::optional<PackageInfo> ParsePackageInfo(std::string_view tail);

// Where the tail of a package file of that size begins; empty when the file is not longer
// than kPackageMinimumSize.
std::optional<std::uint64_t> PackageTailOffset(std::uint64_t fileSize);

// The last kPackageTailSize bytes of the file, or as many zero bytes when the file is
// not longer than kPackageMinimumSize or cannot be read.
std::string ReadPackageTail(const std::string& path);

// The information of the package folder + name (folder ends with "\"), with PackagePath
// set; empty when the file holds no block (a file error to the user).
std::optional<PackageInfo> ReadPackageInfo(const std::string& folder, const std::string& packageName);

// A package whose program file is "解压缩" is only unpacked: no folder page, nothing to start.
bool IsExtractOnly(const PackageInfo& info);

// "版本：" + version + "   发布日期：" + date, shown on the welcome page.
std::string VersionLine(const PackageInfo& info);
