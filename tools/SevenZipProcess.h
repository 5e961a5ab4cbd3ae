#pragma once
// Runs the 7z program (7z.exe on Windows, 7z natively) found in an absolute folder of PATH,
// never one in the current or the packed folder.

#include <filesystem>

// Compresses everything in folder into a new 7z archive with default settings; names in the
// archive are relative to the folder. Returns 7z's exit code, or -1 when it could not be started.
int RunSevenZipAdd(const std::filesystem::path& folder, const std::filesystem::path& archive);
