#include "FileIO.h"

#ifdef _WIN32
#include <windows.h>

#include "support/HeldFileRetry.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "TextConversion.h"
#endif

namespace sevenzip {

#ifdef _WIN32

std::optional<std::string> ToSystemText(std::u16string_view text) {
    if (text.empty()) return std::string();
    if (text.size() > 0x10000) return std::nullopt;
    auto wide = reinterpret_cast<const wchar_t*>(text.data());
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), nullptr, 0, nullptr,
                                   &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string result(size_t(size), '\0');
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), result.data(), size, nullptr,
                            &usedDefault) != size || usedDefault)
        return std::nullopt;
    // Back to UTF-16: only a name that returns unchanged is the name the archive holds.
    std::wstring back(text.size(), L'\0');
    int backSize = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, result.data(), size, back.data(), int(back.size()));
    if (backSize != int(text.size()) || back.compare(0, text.size(), wide, text.size()) != 0) return std::nullopt;
    return result;
}

InFile::~InFile() {
    if (handle_) CloseHandle(handle_);
}

bool InFile::Open(const std::string& path) {
    // Full sharing: a caller may hold the archive open for writing so that nobody else writes it.
    HANDLE h = INVALID_HANDLE_VALUE;
    RetryWhileHeld([&] {
        h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        return h != INVALID_HANDLE_VALUE ? FileAnswer::Done : AnswerForError(GetLastError());
    });
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = h;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size)) return false;
    size_ = uint64_t(size.QuadPart);
    return true;
}

size_t InFile::ReadAt(uint64_t offset, uint8_t* dest, size_t size) {
    OVERLAPPED at = {};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD read = 0;
    DWORD want = size > 0x40000000 ? 0x40000000 : DWORD(size);
    if (!ReadFile(handle_, dest, want, &read, &at)) return 0;
    return read;
}

bool OutFile::Create(const std::string& path) {
    HANDLE h = INVALID_HANDLE_VALUE;
    RetryWhileHeld([&] {
        h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
            h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE ? FileAnswer::Done : AnswerForError(GetLastError());
    });
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = h;
    return true;
}

bool OutFile::Write(const uint8_t* data, size_t size) {
    DWORD written = 0;
    return WriteFile(handle_, data, DWORD(size), &written, nullptr) && written == size;
}

bool OutFile::SetModified(uint64_t fileTime) {
    FILETIME ft = {DWORD(fileTime), DWORD(fileTime >> 32)};
    return SetFileTime(handle_, nullptr, nullptr, &ft);
}

bool OutFile::Close() {
    if (!handle_) return true;
    bool ok = CloseHandle(handle_);
    handle_ = nullptr;
    return ok;
}

bool CreateFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()); }

bool SetAttributes(const std::string& path, uint32_t attributes) {
    const DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    DWORD value = attributes & kKept;
    return SetFileAttributesA(path.c_str(), value ? value : FILE_ATTRIBUTE_NORMAL);
}

#else

std::optional<std::string> ToSystemText(std::u16string_view text) { return Utf16ToUtf8(text); }

InFile::~InFile() {
    if (fd_ >= 0) close(fd_);
}

bool InFile::Open(const std::string& path) {
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    size_ = uint64_t(st.st_size);
    return true;
}

size_t InFile::ReadAt(uint64_t offset, uint8_t* dest, size_t size) {
    ssize_t n;
    do n = pread(fd_, dest, size, off_t(offset));
    while (n < 0 && errno == EINTR);
    return n > 0 ? size_t(n) : 0;
}

bool OutFile::Create(const std::string& path) {
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0 && chmod(path.c_str(), 0644) == 0) fd_ = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    return fd_ >= 0;
}

bool OutFile::Write(const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool OutFile::SetModified(uint64_t fileTime) {
    // FILETIME counts from 1601; Unix time from 1970, 11644473600 seconds later.
    const uint64_t kUnixEpoch = 116444736000000000ull;
    if (fileTime < kUnixEpoch) return false;
    uint64_t since = fileTime - kUnixEpoch;
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(since / 10000000);
    times[1].tv_nsec = long(since % 10000000 * 100);
    return futimens(fd_, times) == 0;
}

bool OutFile::Close() {
    if (fd_ < 0) return true;
    bool ok = close(fd_) == 0;
    fd_ = -1;
    return ok;
}

bool CreateFolder(const std::string& path) {
    mkdir(path.c_str(), 0777);
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool SetAttributes(const std::string& path, uint32_t attributes) {
    const uint32_t kUnixExtension = 0x8000;
    if (!(attributes & kUnixExtension)) return true;
    return chmod(path.c_str(), mode_t(attributes >> 16 & 07777)) == 0;
}

#endif

}  // namespace sevenzip
