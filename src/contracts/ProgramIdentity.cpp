#include "contracts/ProgramIdentity.h"

#include "support/GbkPath.h"

ModulePath SplitModulePath(const std::string& path) {
  const auto after = AfterLastSeparator(path);
  return {path.substr(0, after), path.substr(after)};
}

std::string WindowTitleFor(const VersionNumbers& version) {
  return std::string(ProductTitle) + " V" + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.revision) + "." + std::to_string(version.build) + " 版";
}
