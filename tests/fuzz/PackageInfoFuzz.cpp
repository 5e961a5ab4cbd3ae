// Any tail bytes: the reader must stay in bounds and keep every value within its limit.
#include "contracts/PackageInfo.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view tail(reinterpret_cast<const char*>(data), size);
  std::optional<PackageInfo> info = ParsePackageInfo(tail);
  if (info.has_value() != (tail.find(kPackageSectionName) != std::string_view::npos)) std::abort();
  if (!info) return 0;
  for (const PackageInfoKey& key : kPackageInfoKeys) {
    const std::string& value = (*info).*key.Value;
    if (value.size() > key.MaxBytes || value.find('\0') != std::string::npos) std::abort();
    if (!value.empty() && tail.find(value) == std::string_view::npos) std::abort();
  }
  return 0;
}
