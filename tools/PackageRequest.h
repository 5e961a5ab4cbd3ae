#pragma once
// What the publisher asks for: a folder and the package values, all texts in UTF-8.

#include <filesystem>
#include <string>

#include "contracts/PackageInfo.h"

struct PackageRequest {
  std::filesystem::path Folder;
  std::filesystem::path Output;  // empty: <Id>.7z in the current folder
  std::string Id;
  std::string Title;
  std::string ProgramFile;  // or the extract-only value
  std::string Version;
  std::string Date;
  std::string Description;
  std::filesystem::path SignKey;  // --sign: the private key the package is signed with
};

// The IDs an installer's six-byte marker can carry as <ID>.7z.
inline constexpr std::size_t kPackageIdMaxBytes = 3;

// 1 to kPackageIdMaxBytes ASCII letters or digits.
bool IsPackageId(const std::string& id);

// Checks the ID and converts the values to GBK within their byte limits. Returns the
// reason for refusing them, empty when they are fine.
std::string EncodePackageValues(const PackageRequest& request, PackageInfo& gbk);
