#pragma once
#include <cstdint>
#include <string>

#include "Archive.h"

namespace sevenzip {

// What the caller learns while an entry is written.
struct ExtractProgress {
    const std::string& name;  // relative path in the system's text and separators
    uint64_t size;
    uint64_t written;
};

// Receives the progress; returning false stops the extraction.
class ExtractObserver {
public:
    virtual ~ExtractObserver() = default;
    virtual bool OnEntryStart(const ExtractProgress& progress) = 0;
    virtual bool OnEntryWritten(const ExtractProgress& progress) = 0;
};

enum class ExtractResult { Ok, Stopped, UnsafePath, Damaged, Unsupported, WriteFailed };

// Checks every entry name, then writes the whole tree below targetFolder (created when
// missing), with full paths, replacing existing files. A file whose data fails is removed.
ExtractResult ExtractAll(Archive& archive, const std::string& targetFolder, ExtractObserver& observer);

// True when every entry name stays inside the target folder.
bool AllPathsSafe(const ArchiveDatabase& database);

}  // namespace sevenzip
