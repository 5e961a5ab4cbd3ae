#pragma once
// Runs the 7z program (7z.exe on Windows, 7z natively) found in an absolute folder of PATH,
// never one in the current or the packed folder.

#include <cstdint>
#include <filesystem>
#include <string>

// The method switch for a tree of this many bytes: LZMA2 cut into blocks that reset the
// dictionary, two halves of the tree or 64 MiB each for a larger one, the dictionary as large
// as a block, so that the installer's library decodes the blocks on both cores, whatever
// machine packed them. Larger blocks lose less compression but hold more memory per core.
std::string Lzma2BlocksSwitch(uint64_t treeBytes);

// Compresses everything in folder into a new 7z archive with 7z's default settings but for
// Lzma2BlocksSwitch; names in the archive are relative to the folder. Returns 7z's exit code, or -1 when it could not
// be started.
int RunSevenZipAdd(const std::filesystem::path& folder, const std::filesystem::path& archive);
