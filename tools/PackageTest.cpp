#include "PackageTest.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <new>
#include <optional>

#include "Archive.h"
#include "ArchiveError.h"
#include "CoderMethods.h"
#include "EntryPath.h"
#include "EntryStreams.h"
#include "PackageTail.h"
#include "contracts/PackageInfo.h"
#include "platform/File.h"
#include "platform/GbkText.h"
#include "platform/Utf8Text.h"

namespace fs = std::filesystem;

namespace {

class PackageFileStream : public sevenzip::InStream {
 public:
  explicit PackageFileStream(const fs::path& path) {
    if (file_.OpenRead(path.native(), FileSharing::Readers))
      size_ = static_cast<std::uint64_t>(std::max<int64_t>(file_.Size(), 0));
  }
  bool IsOpen() const { return file_.IsOpen(); }
  std::uint64_t Size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* dest, std::size_t size) override {
    return offset >= size_ ? 0 : file_.ReadAt(offset, dest, size);
  }

 private:
  File file_;
  std::uint64_t size_ = 0;
};

std::string MethodName(std::uint64_t id) {
  if (const sevenzip::CoderMethod* method = sevenzip::FindCoderMethod(id)) return method->name;
  char hex[24];
  std::snprintf(hex, sizeof hex, "%llX", static_cast<unsigned long long>(id));
  std::string digits = hex;
  return "method " + std::string(digits.size() % 2, '0') + digits;
}

std::string CoderChain(const sevenzip::Folder& folder) {
  std::string chain;
  for (const sevenzip::Coder& coder : folder.coders) chain += (chain.empty() ? "" : "+") + MethodName(coder.methodId);
  return chain;
}

// What the publisher is told when the reader refuses something it does not decode.
std::string RefusalReason(const sevenzip::ArchiveError& error) {
  if (std::optional<std::uint64_t> id = error.Method()) {
    const sevenzip::CoderMethod* method = sevenzip::FindCoderMethod(*id);
    if (!method) return "the library does not decode the coder " + MethodName(*id);
    return "the archive is encrypted (" + MethodName(*id) + "); the library unpacks no archive with a password";
  }
  return std::string("the library cannot read the archive: ") + error.what();
}

std::string Quoted(const std::string& utf8) { return "'" + utf8 + "'"; }

std::string Count(std::uint64_t count, const std::string& what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// An entry's path below the install folder as the installer's library writes it, with "/"
// between its parts; nothing when unsafe. Entries without a name are named after the package.
std::optional<std::string> InstalledPath(const sevenzip::Entry& entry, const fs::path& package) {
  return sevenzip::EntryRelativePath(entry, package.stem().u16string(), '/', true);
}

std::string CheckNames(const sevenzip::ArchiveDatabase& database, const fs::path& package) {
  for (const sevenzip::Entry& entry : database.entries) {
    if (entry.isAnti || InstalledPath(entry, package)) continue;
    return "the entry " + Quoted(Utf16ToUtf8(entry.name)) + " would land outside the install folder";
  }
  return {};
}

// Windows finds the program whatever the case of its ASCII letters.
std::string FoldedPath(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return path;
}

std::string CheckProgramFile(const sevenzip::ArchiveDatabase& database, const PackageInfo& info,
                             const fs::path& package) {
  if (IsExtractOnly(info)) return {};
  std::string program = GbkToUtf8(info.ProgramFile);
  for (const sevenzip::Entry& entry : database.entries) {
    if (entry.isDirectory || entry.isAnti) continue;
    if (FoldedPath(InstalledPath(entry, package).value_or("")) == FoldedPath(program)) return {};
  }
  return "the program file " + Quoted(program) + " that the information block names is not in the archive";
}

PackageTestResult DecodeEntries(sevenzip::Archive& archive) {
  const sevenzip::Entry* current = nullptr;
  std::uint64_t files = 0, folders = 0, bytes = 0;
  try {
    sevenzip::DecodeAllEntries(archive, [&](const sevenzip::Entry& entry) {
      current = &entry;
      ++(entry.isDirectory ? folders : files);
      bytes += entry.isDirectory ? 0 : entry.size;
    });
  } catch (const sevenzip::ArchiveError& e) {
    std::string name = current ? Quoted(Utf16ToUtf8(current->name)) : "(none)";
    return {"the entry " + name + " does not decode: " + e.what(), {}};
  }
  std::map<std::string, int> chains;
  for (const sevenzip::Folder& folder : archive.Database().streams.folders) ++chains[CoderChain(folder)];
  std::string coders;
  for (const auto& [chain, count] : chains) {
    coders += (coders.empty() ? "" : ", ") + chain + " (" + Count(count, "block") + ")";
  }
  return {{},
          "Decoded " + Count(files, "file") + " and " + Count(folders, "folder") + ", " + Count(bytes, "byte") +
              ", CRCs checked\nCoders: " + (coders.empty() ? "none" : coders) + "\n"};
}

}  // namespace

PackageTestResult TestPackage(const fs::path& package) {
  PackageFileStream in(package);
  if (!in.IsOpen()) return {"cannot open the file", {}};
  std::optional<PackageInfo> info = ParsePackageInfo(ReadPackageFileTail(package));
  if (!info) return {"no information block in the last 2000 bytes (the installer reports a file error)", {}};
  try {
    sevenzip::Archive archive(in);
    if (std::string error = CheckNames(archive.Database(), package); !error.empty()) return {error, {}};
    if (std::string error = CheckProgramFile(archive.Database(), *info, package); !error.empty()) return {error, {}};
    return DecodeEntries(archive);
  } catch (const sevenzip::ArchiveError& e) {
    if (e.Kind() == sevenzip::ErrorKind::Unsupported) return {RefusalReason(e), {}};
    return {std::string("the archive is damaged: ") + e.what(), {}};
  } catch (const std::bad_alloc&) {
    return {"the archive asks for more memory than the library takes", {}};
  }
}
