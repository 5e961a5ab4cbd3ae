#include "contracts/PackageInfo.h"

#include "platform/File.h"
#include "platform/GbkText.h"

namespace {

// A line is cut at its first zero byte, then matched against the keys; a later key
// line overrides an earlier one.
void ApplyLine(std::string_view line, PackageInfo& info) {
  line = line.substr(0, line.find('\0'));
  for (const PackageInfoKey& key : kPackageInfoKeys) {
    if (line.starts_with(key.Prefix)) {
      std::string_view value = line.substr(key.Prefix.size());
      info.*key.Value = std::string(value.substr(0, key.MaxBytes));
      return;
    }
  }
}

}  // namespace

std::optional<PackageInfo> ParsePackageInfo(std::string_view tail) {
  std::size_t start = tail.find(kPackageSectionName);
  if (start == std::string_view::npos) return std::nullopt;
  std::string_view rest = tail.substr(start);

  PackageInfo info;
  std::size_t lineEnd = rest.find(kPackageLineEnd);
  for (int line = 1; line <= kPackageInfoLineCount && lineEnd != std::string_view::npos; ++line) {
    rest.remove_prefix(lineEnd + kPackageLineEnd.size());
    lineEnd = rest.find(kPackageLineEnd);
    ApplyLine(rest.substr(0, lineEnd), info);
  }
  return info;
}

std::optional<std::uint64_t> PackageTailOffset(std::uint64_t fileSize) {
  if (fileSize <= kPackageMinimumSize) return std::nullopt;
  return fileSize - kPackageTailSize;
}

std::string ReadPackageTail(const std::string& path) {
  File file;
  const std::int64_t size = file.OpenRead(PathFromGbk(path), FileSharing::Everyone) ? file.Size() : -1;
  const std::optional<std::uint64_t> offset =
      size < 0 ? std::nullopt : PackageTailOffset(static_cast<std::uint64_t>(size));
  std::string tail(kPackageTailSize, '\0');
  if (offset && file.ReadAllAt(*offset, tail.data(), tail.size())) return tail;
  // A read that stopped early leaves no partial bytes behind.
  return std::string(kPackageTailSize, '\0');
}

std::optional<PackageInfo> ReadPackageInfo(const std::string& folder, const std::string& packageName) {
  std::string path = folder + packageName;
  std::optional<PackageInfo> info = ParsePackageInfo(ReadPackageTail(path));
  if (info) info->PackagePath = std::move(path);
  return info;
}

bool IsExtractOnly(const PackageInfo& info) { return info.ProgramFile == kExtractOnlyProgramFile; }

std::string VersionLine(const PackageInfo& info) {
  return "版本：" + info.PackageVersion + "   发布日期：" + info.ReleaseDate;
}
