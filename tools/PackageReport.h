#pragma once
// lzpack info: the information block of a package, for the terminal.

#include <filesystem>
#include <string>

// UTF-8 lines naming each value; empty when the file holds no block the installer would find.
std::string DescribePackage(const std::filesystem::path& package);
