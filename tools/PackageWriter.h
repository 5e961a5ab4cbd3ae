#pragma once
// Writes a package: the 7z archive of a folder with the information block appended.

#include <filesystem>
#include <string>

#include "PackageRequest.h"

struct PackageWriteResult {
  std::string Error;  // empty on success; then no output file is left behind
  std::filesystem::path Output;
  std::string Tested = {};  // what the test of the written package found
};

PackageWriteResult WritePackage(const PackageRequest& request);

// The name the download hosts serve the package under, in /dowfile/.
std::string UploadName(const std::string& id);
