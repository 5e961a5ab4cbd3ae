#pragma once
// lzpack's command line.

#include <filesystem>
#include <string>
#include <vector>

#include "PackageRequest.h"
#include "TemplateCopies.h"

enum class ToolCommand { Help, Pack, Info, Test, Sign, Verify, Copies };

struct ToolOptions {
  ToolCommand Command = ToolCommand::Help;
  PackageRequest Request;             // pack
  std::filesystem::path PackageFile;  // info, test, sign, verify
  std::filesystem::path KeyFile;      // sign (private), verify (public)
  CopiesRequest Copies;               // copies
};

// Parses the UTF-8 arguments after the program name; returns what is wrong with them,
// empty when they are fine.
std::string ParseToolOptions(const std::vector<std::string>& arguments, ToolOptions& options);

std::string ToolUsage();
