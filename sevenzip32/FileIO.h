#pragma once
// The few operating-system calls the reader needs, POSIX and Win32 side by side. Paths are
// UTF-8 here; the Win32 branch hands them to the wide calls, in the "\\?\" form, so that
// every name an archive holds and every path length NTFS takes are written exactly.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "InStream.h"

namespace sevenzip {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
constexpr bool kWindowsNames = true;
#else
constexpr char kPathSeparator = '/';
constexpr bool kWindowsNames = false;
#endif

// Text to and from the caller of the library's exports: the ANSI code page on Windows unless
// the caller asked for UTF-8, UTF-8 elsewhere. On the way out in the ANSI code page a
// character without a form there becomes the system's best fit or "?", as Windows programs
// show names they cannot spell.
std::string FromCallerText(std::string_view text);
std::string ToCallerText(std::string_view utf8);

// From now on every text of the interface is UTF-8 for the whole process (on) or the ANSI
// code page again (off): command lines, paths and the progress record's name.
void UseUtf8CallerText(bool on);

class InFile : public InStream {
public:
    InFile() = default;
    ~InFile() override;
    InFile(const InFile&) = delete;
    InFile& operator=(const InFile&) = delete;

    bool Open(const std::string& path);
    uint64_t Size() const override { return size_; }
    size_t ReadAt(uint64_t offset, uint8_t* dest, size_t size) override;

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    uint64_t size_ = 0;
};

// A file being extracted. Everything after Create acts on the file it made, never on
// whatever may stand at its name by then.
class OutFile {
public:
    OutFile() = default;
    ~OutFile() { Close(); }
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;

    // Creates or replaces a plain file; a read-only one left by an earlier run is replaced
    // too. Fails where a symbolic link, junction or other reparse point stands at the name.
    bool Create(const std::string& path);
    bool Write(const uint8_t* data, size_t size);
    bool SetModified(uint64_t fileTime);  // FILETIME: 100 ns units since 1601
    // Windows attributes in the low 16 bits; with 0x8000 set, POSIX mode bits in the high 16.
    bool SetAttributes(uint32_t attributes);
    bool Close();
    // Closes the file and removes it.
    void Discard();

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
    std::string path_;
#endif
};

// True when a folder exists at path afterwards; the caller's own target folder may be a link.
bool CreateFolder(const std::string& path);
// True when a real folder, no link or reparse point, exists at path afterwards.
bool CreateEntryFolder(const std::string& path);

}  // namespace sevenzip
