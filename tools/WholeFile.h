#pragma once
// Whole files in and out of memory.

#include <filesystem>
#include <optional>
#include <string>

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Written beside the file and renamed over it, so a failed write leaves no partial file and
// an earlier file of that name as it was.
bool ReplaceWholeFile(const std::filesystem::path& file, const std::string& bytes);
