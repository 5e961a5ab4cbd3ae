#include "PackageTail.h"

#include "contracts/PackageInfo.h"
#include "platform/File.h"

std::string ReadPackageFileTail(const std::filesystem::path& package) {
  std::string tail(kPackageTailSize, '\0');
  File file;
  if (!file.OpenRead(package.native(), FileSharing::Readers)) return tail;
  const int64_t size = file.Size();
  const std::optional<std::uint64_t> offset = size < 0 ? std::nullopt : PackageTailOffset(static_cast<uint64_t>(size));
  std::string bytes(kPackageTailSize, '\0');
  if (offset && file.ReadAllAt(*offset, bytes.data(), bytes.size())) tail = std::move(bytes);
  return tail;
}
