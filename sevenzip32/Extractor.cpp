#include "Extractor.h"

#include <exception>
#include <memory>
#include <new>
#include <unordered_set>

#include "ArchiveError.h"
#include "EntryPath.h"
#include "EntryStreams.h"
#include "LongPath.h"
#include "TargetFolder.h"
#include "platform/File.h"

namespace sevenzip {
namespace {

// Decoded bytes per write and per progress report: short enough to keep a window responsive.
constexpr size_t kChunkSize = 1 << 18;

struct StopRequested {};
struct WriteFailure {};

class TreeWriter {
 public:
  TreeWriter(Archive& archive, ExtractTarget& target, ExtractObserver& observer, std::u16string_view unnamed)
      : archive_(archive),
        target_(target),
        observer_(observer),
        unnamed_(unnamed),
        streams_(archive),
        buffer_(kChunkSize) {}

  void Run() {
    if (!target_.MakeFolder({})) throw WriteFailure{};
    for (const Entry& e : archive_.Database().entries) {
      if (e.isAnti) continue;
      auto relative = EntryRelativePath(e, unnamed_, kPathSeparator, kWindowsNames);
      if (!relative) ThrowDamaged("unsafe name");  // AllPathsSafe has refused it already
      if (relative->empty()) continue;             // the target folder itself
      for (size_t end = relative->find(kPathSeparator); end != relative->npos;
           end = relative->find(kPathSeparator, end + 1))
        if (!target_.MakeFolder(relative->substr(0, end))) throw WriteFailure{};
      if (e.isDirectory && !target_.MakeFolder(*relative)) throw WriteFailure{};
      if (!observer_.OnEntryStart({*relative, e.size, 0})) throw StopRequested{};
      if (!e.isDirectory) WriteFile(e, *relative);
    }
    streams_.Finish();
  }

 private:
  void WriteFile(const Entry& e, const std::string& relative) {
    if (!target_.CreateFile(relative)) throw WriteFailure{};
    // Whatever goes wrong from here, no half-written or damaged file stays behind.
    struct RemoveUnlessDone {
      ExtractTarget& target;
      const Entry& entry;
      bool done = false;
      ~RemoveUnlessDone() {
        if (!done) target.FinishFile(entry, false);
      }
    } guard{target_, e};

    if (e.hasStream) {
      uint64_t written = 0;
      ReadEntryData(streams_.Next(), e, buffer_, [&](const uint8_t* data, size_t size) {
        if (!target_.Write(data, size)) throw WriteFailure{};
        written += size;
        if (!observer_.OnEntryWritten({relative, e.size, written})) throw StopRequested{};
      });
      // The folder's last file stays only when the folder ends with it.
      streams_.CloseFolderIfDone();
    }
    guard.done = true;
    if (!target_.FinishFile(e, true)) throw WriteFailure{};
  }

  Archive& archive_;
  ExtractTarget& target_;
  ExtractObserver& observer_;
  std::u16string_view unnamed_;
  EntryStreams streams_;
  ByteBuffer buffer_;
};

class FolderTarget : public ExtractTarget {
 public:
  explicit FolderTarget(const std::string& folder) : folder_(folder) {
    if (folder_.empty() || (folder_.back() != '/' && folder_.back() != '\\')) folder_ += kPathSeparator;
  }

  bool MakeFolder(const std::string& relative) override {
    if (relative.empty()) return CreateFolderTree(folder_);
    if (madeFolders_.count(relative)) return true;
    if (!CreateFolder(SystemPath(folder_ + relative), true)) return false;
    madeFolders_.insert(relative);
    return true;
  }

  bool CreateFile(const std::string& relative) override { return out_.CreateReplacing(SystemPath(folder_ + relative)); }

  bool Write(const uint8_t* data, size_t size) override { return out_.Write(data, size); }

  bool FinishFile(const Entry& e, bool keep) override {
    if (!keep) {
      out_.Delete();
      return true;
    }
    if (e.modified) out_.SetModified(*e.modified);
    if (e.attributes) out_.SetAttributes(*e.attributes);
    return out_.Close();
  }

 private:
  std::string folder_;
  File out_;
  std::unordered_set<std::string> madeFolders_;
};

}  // namespace

bool AllPathsSafe(const ArchiveDatabase& database, std::u16string_view unnamed) {
  for (const Entry& e : database.entries)
    if (!e.isAnti && !EntryRelativePath(e, unnamed, kPathSeparator, kWindowsNames)) return false;
  return true;
}

ExtractResult ExtractAll(Archive& archive, ExtractTarget& target, ExtractObserver& observer,
                         std::u16string_view unnamed) {
  try {
    if (!AllPathsSafe(archive.Database(), unnamed)) return ExtractResult::UnsafePath;
    TreeWriter(archive, target, observer, unnamed).Run();
    return ExtractResult::Ok;
  } catch (const StopRequested&) {
    return ExtractResult::Stopped;
  } catch (const WriteFailure&) {
    return ExtractResult::WriteFailed;
  } catch (const ArchiveError& e) {
    return e.Kind() == ErrorKind::Unsupported ? ExtractResult::Unsupported : ExtractResult::Damaged;
  } catch (const std::exception&) {  // out of memory, or a size no container can hold
    return ExtractResult::Unsupported;
  }
}

ExtractResult ExtractAll(Archive& archive, const std::string& targetFolder, ExtractObserver& observer,
                         std::u16string_view unnamed) {
  FolderTarget target(targetFolder);
  return ExtractAll(archive, target, observer, unnamed);
}

}  // namespace sevenzip
