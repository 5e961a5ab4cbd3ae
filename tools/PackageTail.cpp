#include "PackageTail.h"

#include <fstream>

#include "contracts/PackageInfo.h"

std::string ReadPackageFileTail(const std::filesystem::path& package) {
  std::ifstream file(package, std::ios::binary);
  std::string tail(kPackageTailSize, '\0');
  if (!file.seekg(0, std::ios::end)) return tail;
  const std::optional<std::uint64_t> offset = PackageTailOffset(static_cast<std::uint64_t>(file.tellg()));
  std::string bytes(kPackageTailSize, '\0');
  if (offset && file.seekg(static_cast<std::streamoff>(*offset)) &&
      file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    tail = std::move(bytes);
  }
  return tail;
}
