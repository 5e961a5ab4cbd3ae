#pragma once
// The information block as a package carries it after the archive.

#include <cstdint>
#include <string>
#include <string_view>

#include "contracts/PackageInfo.h"

// The section line and the six key lines (ID first), GBK, each ending with CR LF.
std::string BuildPackageInfoBlock(std::string_view id, const PackageInfo& gbk);

// Zero bytes to put between the archive and the block so that the package is long enough
// for the installer to look for the block, which stays at the very end.
std::uint64_t PaddingBeforeBlock(std::uint64_t archiveSize, std::size_t blockSize);
