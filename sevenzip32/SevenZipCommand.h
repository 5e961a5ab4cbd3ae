#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "Extractor.h"

namespace sevenzip {

// The one command the library carries out: x "archive" [-hide] [-y] "target\" [*]
// The paths are the caller's text (the ANSI code page on Windows).
struct SevenZipCommand {
  std::string archive;
  std::string targetFolder;
};

// Results of "SevenZip": 0 success, anything else a failure.
enum SevenZipResult : int {
  kResultOk = 0,
  kResultBadCommand = 1,
  kResultCannotOpen = 2,
  kResultDamaged = 3,
  kResultUnsupported = 4,
  kResultUnsafePath = 5,
  kResultWriteFailed = 6,
  kResultStopped = 7,
};

// Quotes group blanks and are removed; a backslash before a quote is an ordinary character,
// as folder names end with one. Nothing for commands, switches or selections other than
// the above, so a command is never half understood.
std::optional<SevenZipCommand> ParseSevenZipCommand(std::string_view commandLine);

SevenZipResult RunSevenZipCommand(std::string_view commandLine, ExtractObserver& observer);

// True when the file (its path in the caller's text) is a 7z archive this library can unpack
// safely (headers, coders, paths).
bool CheckArchiveFile(const std::string& callerPath);

}  // namespace sevenzip
