#include "PackageWriter.h"

#include <algorithm>
#include <system_error>

#include "FileSigning.h"
#include "PackageBlock.h"
#include "PackageTail.h"
#include "PackageTest.h"
#include "PublisherSafety.h"
#include "SevenZipProcess.h"
#include "Utf8Path.h"
#include "contracts/RemoteFileName.h"
#include "platform/File.h"

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) { return "'" + Utf8FromPath(path) + "'"; }

bool IsNonEmptyFolder(const fs::path& folder) {
  std::error_code error;
  return fs::is_directory(folder, error) && !fs::is_empty(folder, error) && !error;
}

// The program file is relative to the install folder, with "\" (or "/") between folders.
bool IsFileInFolder(const fs::path& folder, const std::string& programFile) {
  fs::path path = folder;
  std::size_t start = 0;
  while (start <= programFile.size()) {
    std::size_t end = programFile.find_first_of("\\/", start);
    if (end == std::string::npos) end = programFile.size();
    std::string part = programFile.substr(start, end - start);
    if (part.empty() || part == "." || part == ".." || part.find(':') != std::string::npos) return false;
    path /= PathFromUtf8(part);
    start = end + 1;
  }
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool IsInside(const fs::path& path, const fs::path& folder) {
  auto [folderEnd, pathIt] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return folderEnd == folder.end();
}

std::string AppendBlock(const fs::path& archive, const std::string& block) {
  File file;
  const int64_t archiveSize = file.OpenWrite(archive.native()) ? file.Size() : -1;
  if (archiveSize <= 0) return "7z wrote no archive at " + Quoted(archive);
  const std::string tail =
      std::string(PaddingBeforeBlock(static_cast<uint64_t>(archiveSize), block.size()), '\0') + block;
  const bool written = file.WriteAt(static_cast<uint64_t>(archiveSize), tail.data(), tail.size());
  if (!file.Close() || !written) return "cannot append the information block to " + Quoted(archive);
  return {};
}

// The installer must read back exactly what was written.
std::string CheckReadBack(const fs::path& package, const PackageInfo& gbk) {
  std::optional<PackageInfo> read = ParsePackageInfo(ReadPackageFileTail(package));
  if (!read) return "the information block cannot be found in " + Quoted(package);
  for (const PackageInfoKey& key : kPackageInfoKeys) {
    if ((*read).*key.Value != gbk.*key.Value) return "the information block reads back wrong in " + Quoted(package);
  }
  return {};
}

PackageWriteResult Build(const PackageRequest& request, fs::path& partial) {
  PackageInfo gbk;
  if (std::string error = EncodePackageValues(request, gbk); !error.empty()) return {error, {}};

  std::error_code error;
  fs::path folder = fs::weakly_canonical(fs::absolute(request.Folder, error), error);
  if (!IsNonEmptyFolder(folder)) return {"the folder " + Quoted(request.Folder) + " is missing or empty", {}};
  if (std::optional<fs::path> link = FindLinkInFolder(folder)) {
    return {"the folder holds a symbolic link or junction, " + Quoted(*link) + "; copy what it points to instead", {}};
  }
  if (!IsExtractOnly(gbk) && !IsFileInFolder(folder, request.ProgramFile)) {
    return {"the program file '" + request.ProgramFile + "' is not in the folder " + Quoted(folder), {}};
  }
  fs::path output = request.Output.empty() ? PathFromUtf8(request.Id + ".7z") : request.Output;
  output = fs::weakly_canonical(fs::absolute(output, error), error);
  if (!fs::is_directory(output.parent_path(), error)) {
    return {"the output folder " + Quoted(output.parent_path()) + " does not exist", {}};
  }
  if (IsInside(output, folder)) return {"the output " + Quoted(output) + " must not lie inside the packed folder", {}};
  if (fs::is_directory(output, error)) return {"the output " + Quoted(output) + " is a folder", {}};

  // 7z adds to an archive that exists already; start from nothing.
  partial = output;
  partial += ".partial";
  DeleteFileNamed(partial.native());
  int exitCode = RunSevenZipAdd(folder, partial);
  if (exitCode < 0) return {"cannot run 7z (install p7zip-full; on Windows put 7z.exe on PATH)", {}};
  if (exitCode != 0) return {"7z failed with exit code " + std::to_string(exitCode), {}};

  std::string block = BuildPackageInfoBlock(request.Id, gbk);
  if (std::string failure = AppendBlock(partial, block); !failure.empty()) return {failure, {}};
  if (std::string failure = CheckReadBack(partial, gbk); !failure.empty()) return {failure, {}};
  // Never a package the installer's library would refuse.
  PackageTestResult tested = TestPackage(partial);
  if (!tested.Error.empty()) return {"the installer could not unpack what 7z wrote: " + tested.Error, {}};
  if (!request.SignKey.empty()) {
    if (std::string failure = SignFileInPlace(partial, request.SignKey); !failure.empty()) return {failure, {}};
  }
  fs::rename(partial, output, error);
  if (error) return {"cannot write " + Quoted(output) + ": " + error.message(), {}};
  return {{}, output, tested.Report};
}

}  // namespace

PackageWriteResult WritePackage(const PackageRequest& request) {
  fs::path partial;
  PackageWriteResult result = Build(request, partial);
  if (!result.Error.empty() && !partial.empty()) DeleteFileNamed(partial.native());
  return result;
}

std::string UploadName(const std::string& id) { return RemoteFileName(id + ".7z"); }
