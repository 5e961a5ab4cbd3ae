#include "Extractor.h"

#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

#include "ArchiveError.h"
#include "Crc32.h"
#include "EntryPath.h"
#include "FileIO.h"

namespace sevenzip {
namespace {

// Decoded bytes per write and per progress report: short enough to keep a window responsive.
constexpr size_t kChunkSize = 1 << 18;

struct StopRequested {};
struct WriteFailure {};

class TreeWriter {
public:
    TreeWriter(Archive& archive, const std::string& targetFolder, ExtractObserver& observer)
        : archive_(archive), observer_(observer), target_(targetFolder), buffer_(kChunkSize) {
        if (target_.empty() || (target_.back() != '/' && target_.back() != kPathSeparator)) target_ += kPathSeparator;
    }

    void Run() {
        MakeFolderTree(target_);
        for (const Entry& e : archive_.Database().entries) {
            if (e.isAnti) continue;
            auto parts = SafePathParts(e.name);
            std::string relative;
            for (size_t i = 0; i < parts->size(); ++i) {
                if (i > 0) relative += kPathSeparator;
                relative += ToSystemText((*parts)[i]);
                if (i + 1 < parts->size() || e.isDirectory) MakeFolder(relative);
            }
            if (!observer_.OnEntryStart({relative, e.size, 0})) throw StopRequested{};
            if (!e.isDirectory) WriteFile(e, relative);
        }
    }

private:
    void MakeFolderTree(const std::string& path) {
        for (size_t i = 1; i < path.size(); ++i)
            if (path[i] == kPathSeparator) CreateFolder(path.substr(0, i));
        if (!CreateFolder(path)) throw WriteFailure{};
    }

    void MakeFolder(const std::string& relative) {
        if (madeFolders_.count(relative)) return;
        if (!CreateFolder(target_ + relative)) throw WriteFailure{};
        madeFolders_.insert(relative);
    }

    ByteSource& NextStream() {
        const auto& folders = archive_.Database().streams.folders;
        while (streamsLeft_ == 0) {
            if (nextFolder_ >= folders.size()) ThrowDamaged("more files than folders hold");
            folder_ = archive_.DecodeFolder(nextFolder_);
            streamsLeft_ = folders[nextFolder_++].unpackStreams;
        }
        --streamsLeft_;
        return *folder_;
    }

    void WriteFile(const Entry& e, const std::string& relative) {
        std::string path = target_ + relative;
        OutFile out;
        if (!out.Create(path)) throw WriteFailure{};
        // Whatever goes wrong from here, no half-written or damaged file stays behind.
        struct RemoveUnlessDone {
            OutFile& out;
            const std::string& path;
            bool done = false;
            ~RemoveUnlessDone() {
                if (!done) {
                    out.Close();
                    RemoveFile(path);
                }
            }
        } guard{out, path};

        if (e.hasStream) CopyStream(NextStream(), e, relative, out);
        if (e.modified) out.SetModified(*e.modified);
        if (!out.Close()) throw WriteFailure{};
        guard.done = true;
        if (e.attributes) SetAttributes(path, *e.attributes);
    }

    void CopyStream(ByteSource& source, const Entry& e, const std::string& relative, OutFile& out) {
        uint64_t written = 0;
        uint32_t crc = 0;
        while (written < e.size) {
            size_t want = e.size - written < buffer_.size() ? size_t(e.size - written) : buffer_.size();
            if (source.Read(buffer_.data(), want) != want) ThrowDamaged("data ends early");
            crc = UpdateCrc32(crc, buffer_.data(), want);
            if (!out.Write(buffer_.data(), want)) throw WriteFailure{};
            written += want;
            if (!observer_.OnEntryWritten({relative, e.size, written})) throw StopRequested{};
        }
        if (e.crc && crc != *e.crc) ThrowDamaged("data CRC");
    }

    Archive& archive_;
    ExtractObserver& observer_;
    std::string target_;
    std::vector<uint8_t> buffer_;
    std::unordered_set<std::string> madeFolders_;
    std::unique_ptr<FolderDecoder> folder_;
    size_t nextFolder_ = 0;
    uint64_t streamsLeft_ = 0;
};

}  // namespace

bool AllPathsSafe(const ArchiveDatabase& database) {
    for (const Entry& e : database.entries)
        if (!e.isAnti && !SafePathParts(e.name)) return false;
    return true;
}

ExtractResult ExtractAll(Archive& archive, const std::string& targetFolder, ExtractObserver& observer) {
    if (!AllPathsSafe(archive.Database())) return ExtractResult::UnsafePath;
    try {
        TreeWriter(archive, targetFolder, observer).Run();
        return ExtractResult::Ok;
    } catch (const StopRequested&) {
        return ExtractResult::Stopped;
    } catch (const WriteFailure&) {
        return ExtractResult::WriteFailed;
    } catch (const ArchiveError& e) {
        return e.Kind() == ErrorKind::Unsupported ? ExtractResult::Unsupported : ExtractResult::Damaged;
    } catch (const std::bad_alloc&) {
        return ExtractResult::Unsupported;
    }
}

}  // namespace sevenzip
