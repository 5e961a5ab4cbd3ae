#pragma once

#include <string>

// The name a file has on the download hosts, which lzpack gives the packages it writes:
// lower case, every ".7z" turned into ".rar".
std::string RemoteFileName(const std::string& fileName);
