#include "PackageReport.h"

#include "PackageRequest.h"
#include "PackageTail.h"
#include "contracts/PackageInfo.h"
#include "platform/GbkText.h"

namespace {

struct ValueLabel {
  const char* Label;
  std::string PackageInfo::*Value;
};

constexpr ValueLabel kLabels[] = {
    {"Title:       ", &PackageInfo::PackageTitle},       {"Program:     ", &PackageInfo::ProgramFile},
    {"Version:     ", &PackageInfo::PackageVersion},     {"Date:        ", &PackageInfo::ReleaseDate},
    {"Description: ", &PackageInfo::PackageDescription},
};

}  // namespace

std::string DescribePackage(const std::filesystem::path& package) {
  std::optional<PackageInfo> info = ParsePackageInfo(ReadPackageFileTail(package));
  if (!info) return {};
  std::string text;
  for (const ValueLabel& label : kLabels) text += label.Label + GbkToUtf8((*info).*label.Value) + "\n";
  if (IsExtractOnly(*info)) text += "(extract-only: unpacked into a folder named after the description)\n";
  return text;
}
