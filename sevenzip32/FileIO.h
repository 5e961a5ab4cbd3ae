#pragma once
// The few operating-system calls the reader needs, POSIX and Win32 side by side.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "InStream.h"

namespace sevenzip {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Entry names as the system's file functions take them: the ANSI code page on Windows,
// UTF-8 elsewhere. Nothing when the text has no exact form there: a look-alike character
// chosen by the system (a "best fit" such as "/" for a fraction slash) could change the path.
std::optional<std::string> ToSystemText(std::u16string_view text);

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

class OutFile {
public:
    OutFile() = default;
    ~OutFile() { Close(); }
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;

    // Creates or truncates the file; a read-only file left by an earlier run is overwritten.
    bool Create(const std::string& path);
    bool Write(const uint8_t* data, size_t size);
    bool SetModified(uint64_t fileTime);  // FILETIME: 100 ns units since 1601
    bool Close();

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// True when a folder exists at path afterwards.
bool CreateFolder(const std::string& path);
bool RemoveFile(const std::string& path);
// Windows attributes in the low 16 bits; with 0x8000 set, POSIX mode bits in the high 16.
bool SetAttributes(const std::string& path, uint32_t attributes);

}  // namespace sevenzip
