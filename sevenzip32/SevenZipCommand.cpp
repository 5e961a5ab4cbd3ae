#include "SevenZipCommand.h"

#include <exception>
#include <vector>

#include "ArchiveError.h"
#include "CallerText.h"
#include "EntryPath.h"
#include "InStream.h"
#include "TargetFolder.h"

namespace sevenzip {
namespace {

std::vector<std::string> SplitArguments(std::string_view line) {
  std::vector<std::string> args;
  std::string current;
  bool quoted = false, inArgument = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArgument) args.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) args.push_back(std::move(current));
  return args;
}

SevenZipResult ToResult(ExtractResult r) {
  switch (r) {
    case ExtractResult::Ok: return kResultOk;
    case ExtractResult::Stopped: return kResultStopped;
    case ExtractResult::UnsafePath: return kResultUnsafePath;
    case ExtractResult::Damaged: return kResultDamaged;
    case ExtractResult::Unsupported: return kResultUnsupported;
    case ExtractResult::WriteFailed: return kResultWriteFailed;
  }
  return kResultDamaged;
}

}  // namespace

std::optional<SevenZipCommand> ParseSevenZipCommand(std::string_view commandLine) {
  std::vector<std::string> args = SplitArguments(commandLine);
  if (args.empty() || (args[0] != "x" && args[0] != "X")) return std::nullopt;
  SevenZipCommand command;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-hide" || a == "-y") continue;  // no windows and no questions, always
    if (a.empty() || a[0] == '-') return std::nullopt;
    if (command.archive.empty()) {
      command.archive = a;
    } else if (command.targetFolder.empty() && EndsWithSeparator(FromCallerText(a))) {
      command.targetFolder = a;
    } else if (a != "*" && a != "*.*") {
      return std::nullopt;
    }
  }
  if (command.archive.empty() || command.targetFolder.empty()) return std::nullopt;
  return command;
}

SevenZipResult RunSevenZipCommand(std::string_view commandLine, ExtractObserver& observer) {
  auto command = ParseSevenZipCommand(commandLine);
  if (!command) return kResultBadCommand;
  const std::string archivePath = FromCallerText(command->archive);
  InFile file;
  if (!file.Open(archivePath)) return kResultCannotOpen;
  try {
    Archive archive(file);
    return ToResult(
        ExtractAll(archive, FromCallerText(command->targetFolder), observer, UnnamedEntryName(archivePath)));
  } catch (const ArchiveError& e) {
    return e.Kind() == ErrorKind::Unsupported ? kResultUnsupported : kResultDamaged;
  } catch (const std::exception&) {  // out of memory, or a size no container can hold
    return kResultUnsupported;
  }
}

bool CheckArchiveFile(const std::string& callerPath) {
  const std::string path = FromCallerText(callerPath);
  InFile file;
  if (!file.Open(path)) return false;
  try {
    Archive archive(file);
    return AllPathsSafe(archive.Database(), UnnamedEntryName(path));
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace sevenzip
