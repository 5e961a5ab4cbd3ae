#include "Extractor.h"

#include <exception>
#include <memory>
#include <new>
#include <unordered_set>

#include "ArchiveError.h"
#include "EntryPath.h"
#include "EntryStreams.h"
#include "FileIO.h"
#include "TargetFolder.h"

namespace sevenzip {
namespace {

// Decoded bytes per write and per progress report: short enough to keep a window responsive.
constexpr size_t kChunkSize = 1 << 18;

struct StopRequested {};
struct WriteFailure {};

class TreeWriter {
public:
    TreeWriter(Archive& archive, ExtractTarget& target, ExtractObserver& observer)
        : archive_(archive), target_(target), observer_(observer), streams_(archive), buffer_(kChunkSize) {}

    void Run() {
        if (!target_.MakeFolder({})) throw WriteFailure{};
        for (const Entry& e : archive_.Database().entries) {
            if (e.isAnti) continue;
            auto parts = SystemPathParts(e.name);
            if (!parts) ThrowDamaged("unsafe name");  // AllPathsSafe has refused it already
            std::string relative;
            for (size_t i = 0; i < parts->size(); ++i) {
                if (i > 0) relative += kPathSeparator;
                relative += (*parts)[i];
                if ((i + 1 < parts->size() || e.isDirectory) && !target_.MakeFolder(relative)) throw WriteFailure{};
            }
            if (!observer_.OnEntryStart({relative, e.size, 0})) throw StopRequested{};
            if (!e.isDirectory) WriteFile(e, relative);
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
    EntryStreams streams_;
    ByteBuffer buffer_;
};

class FolderTarget : public ExtractTarget {
public:
    explicit FolderTarget(const std::string& folder) : folder_(folder) {
        if (!EndsWithSeparator(folder_)) folder_ += kPathSeparator;
    }

    bool MakeFolder(const std::string& relative) override {
        if (relative.empty()) return CreateFolderTree(folder_);
        if (madeFolders_.count(relative)) return true;
        if (!CreateFolder(folder_ + relative)) return false;
        madeFolders_.insert(relative);
        return true;
    }

    bool CreateFile(const std::string& relative) override {
        path_ = folder_ + relative;
        return out_.Create(path_);
    }

    bool Write(const uint8_t* data, size_t size) override { return out_.Write(data, size); }

    bool FinishFile(const Entry& e, bool keep) override {
        if (!keep) {
            out_.Close();
            RemoveFile(path_);
            return true;
        }
        if (e.modified) out_.SetModified(*e.modified);
        if (!out_.Close()) {
            RemoveFile(path_);
            return false;
        }
        if (e.attributes) SetAttributes(path_, *e.attributes);
        return true;
    }

private:
    std::string folder_;
    std::string path_;
    OutFile out_;
    std::unordered_set<std::string> madeFolders_;
};

}  // namespace

bool AllPathsSafe(const ArchiveDatabase& database) {
    for (const Entry& e : database.entries)
        if (!e.isAnti && !SystemPathParts(e.name)) return false;
    return true;
}

ExtractResult ExtractAll(Archive& archive, ExtractTarget& target, ExtractObserver& observer) {
    try {
        if (!AllPathsSafe(archive.Database())) return ExtractResult::UnsafePath;
        TreeWriter(archive, target, observer).Run();
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

ExtractResult ExtractAll(Archive& archive, const std::string& targetFolder, ExtractObserver& observer) {
    FolderTarget target(targetFolder);
    return ExtractAll(archive, target, observer);
}

}  // namespace sevenzip
