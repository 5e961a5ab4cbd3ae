#include "PackageReport.h"

#include <fstream>

#include "GbkText.h"
#include "PackageRequest.h"
#include "retrieval/PackageInfo.h"

namespace {

struct ValueLabel {
  const char* Label;
  std::string PackageInfo::*Value;
};

constexpr ValueLabel kLabels[] = {
    {"Title:       ", &PackageInfo::PackageTitle},   {"Program:     ", &PackageInfo::ProgramFile},
    {"Version:     ", &PackageInfo::PackageVersion}, {"Date:        ", &PackageInfo::ReleaseDate},
    {"Description: ", &PackageInfo::PackageDescription},
};

}  // namespace

std::string DescribePackage(const std::filesystem::path& package) {
  std::ifstream file(package, std::ios::binary);
  std::optional<PackageInfo> info = ParsePackageInfo(ReadPackageTail(file));
  if (!info) return {};
  std::string text;
  for (const ValueLabel& label : kLabels) text += label.Label + GbkToUtf8((*info).*label.Value) + "\n";
  if (IsExtractOnly(*info)) text += "(extract-only: unpacked into a folder named after the description)\n";
  return text;
}
