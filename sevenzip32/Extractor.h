#pragma once
#include <cstdint>
#include <string>

#include "Archive.h"

namespace sevenzip {

// What the caller learns while an entry is written.
struct ExtractProgress {
  const std::string& name;  // relative path in UTF-8 with the system's separators
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

// Where the entries go. The reader decides names, order and content; a target only stores,
// and a false result stops the extraction as a write failure.
class ExtractTarget {
 public:
  virtual ~ExtractTarget() = default;
  // Paths are UTF-8. relative is empty for the target folder itself, made before any entry;
  // a folder below it must be a real folder, never a link standing at its name.
  virtual bool MakeFolder(const std::string& relative) = 0;
  virtual bool CreateFile(const std::string& relative) = 0;
  virtual bool Write(const uint8_t* data, size_t size) = 0;
  // Ends the file created last: kept with the entry's time and attributes, or removed
  // because its data failed.
  virtual bool FinishFile(const Entry& entry, bool keep) = 0;
};

enum class ExtractResult { Ok, Stopped, UnsafePath, Damaged, Unsupported, WriteFailed };

// Checks every entry name, then hands the whole tree to the target, every folder decoded to
// its end. A file whose data fails is not kept. Entries stored without a name take unnamed.
ExtractResult ExtractAll(Archive& archive, ExtractTarget& target, ExtractObserver& observer,
                         std::u16string_view unnamed);

// The tree below targetFolder (UTF-8; created when missing) on disk, replacing existing files
// but never writing through a link that stands below targetFolder.
ExtractResult ExtractAll(Archive& archive, const std::string& targetFolder, ExtractObserver& observer,
                         std::u16string_view unnamed);

// True when every entry name stays inside the target folder.
bool AllPathsSafe(const ArchiveDatabase& database, std::u16string_view unnamed);

}  // namespace sevenzip
