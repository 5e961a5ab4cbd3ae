#include "PackageBlock.h"

std::string BuildPackageInfoBlock(std::string_view id, const PackageInfo& gbk) {
  std::string block = "[";
  block += kPackageSectionName;
  block += "]";
  block += kPackageLineEnd;
  block += kPackageIdKey;
  block += id;
  block += kPackageLineEnd;
  for (const PackageInfoKey& key : kPackageInfoKeys) {
    block += key.Prefix;
    block += gbk.*key.Value;
    block += kPackageLineEnd;
  }
  return block;
}

std::uint64_t PaddingBeforeBlock(std::uint64_t archiveSize, std::size_t blockSize) {
  std::uint64_t size = archiveSize + blockSize;
  return size > kPackageMinimumSize ? 0 : kPackageMinimumSize + 1 - size;
}
