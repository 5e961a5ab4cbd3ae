#pragma once
// lzpack's command line.

#include <filesystem>
#include <string>
#include <vector>

#include "PackageRequest.h"

enum class ToolCommand { Help, Pack, Info, Test, Sign, Verify };

struct ToolOptions {
  ToolCommand Command = ToolCommand::Help;
  PackageRequest Request;              // pack
  std::filesystem::path PackageFile;  // info, test, sign, verify
  std::filesystem::path KeyFile;      // sign (private), verify (public)
};

// Parses the UTF-8 arguments after the program name; returns what is wrong with them,
// empty when they are fine.
std::string ParseToolOptions(const std::vector<std::string>& arguments, ToolOptions& options);

std::string ToolUsage();
