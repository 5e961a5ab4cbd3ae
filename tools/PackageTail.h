#pragma once
// The package tool reads tails through the standard streams, which take any path the
// file system can name (the installer's reader takes ANSI paths).

#include <filesystem>
#include <string>

// The last kPackageTailSize bytes of the package, or as many zero bytes when the file is
// too short to hold a block or cannot be read.
std::string ReadPackageFileTail(const std::filesystem::path& package);
