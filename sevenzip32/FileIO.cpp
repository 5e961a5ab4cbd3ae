#include "FileIO.h"

#ifdef _WIN32
#include <windows.h>

#include "LongPath.h"
#include "support/HeldFileRetry.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <atomic>

#include "TextConversion.h"

namespace sevenzip {

#ifdef _WIN32

namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The absolute, normalized path in the "\\?\" form; empty when the system cannot make one.
std::u16string WidePath(const std::string& utf8) {
    const std::u16string path = Utf8ToUtf16(utf8);
    DWORD size = GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
    if (size == 0) return {};
    std::u16string full(size, u'\0');
    DWORD length = GetFullPathNameW(Wide(path), size, reinterpret_cast<wchar_t*>(full.data()), nullptr);
    if (length == 0 || length >= size) return {};
    full.resize(length);
    return ExtendedLengthPath(full);
}

bool IsLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool MakeFolder(const std::string& path, bool refuseLink) {
    const std::u16string wide = WidePath(path);
    if (wide.empty()) return false;
    CreateDirectoryW(Wide(wide), nullptr);
    DWORD attributes = GetFileAttributesW(Wide(wide));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(refuseLink && IsLink(attributes));
}

// Set by the caller, read on its calls; atomic should a caller use two threads.
std::atomic<bool> gUtf8CallerText{false};

}  // namespace

void UseUtf8CallerText(bool on) { gUtf8CallerText = on; }

std::string FromCallerText(std::string_view text) {
    if (text.empty() || text.size() > 0x10000) return {};
    if (gUtf8CallerText) return std::string(text);
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::u16string wide(size_t(size), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), reinterpret_cast<wchar_t*>(wide.data()), size);
    return Utf16ToUtf8(wide);
}

std::string ToCallerText(std::string_view utf8) {
    if (gUtf8CallerText) return std::string(utf8);
    const std::u16string wide = Utf8ToUtf16(utf8);
    if (wide.empty() || wide.size() > 0x10000) return {};
    // No WC_NO_BEST_FIT_CHARS: the system's nearest look-alike, else its default character.
    int size = WideCharToMultiByte(CP_ACP, 0, Wide(wide), int(wide.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string text(size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, Wide(wide), int(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

InFile::~InFile() {
    if (handle_) CloseHandle(handle_);
}

bool InFile::Open(const std::string& path) {
    const std::u16string wide = WidePath(path);
    if (wide.empty()) return false;
    // Full sharing: a caller may hold the archive open for writing so that nobody else writes it.
    HANDLE h = INVALID_HANDLE_VALUE;
    RetryWhileHeld([&] {
        h = CreateFileW(Wide(wide), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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
    const std::u16string wide = WidePath(path);
    if (wide.empty()) return false;
    const DWORD existing = GetFileAttributesW(Wide(wide));
    if (IsLink(existing)) return false;
    // The reparse point itself, should one appear at the name after the look above.
    const DWORD access = GENERIC_WRITE | DELETE;
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE h = INVALID_HANDLE_VALUE;
    RetryWhileHeld([&] {
        h = CreateFileW(Wide(wide), access, 0, nullptr, CREATE_ALWAYS, flags, nullptr);
        // A read-only, hidden or system file from an earlier run refuses CREATE_ALWAYS.
        if (h == INVALID_HANDLE_VALUE && existing != INVALID_FILE_ATTRIBUTES &&
            SetFileAttributesW(Wide(wide), FILE_ATTRIBUTE_NORMAL))
            h = CreateFileW(Wide(wide), access, 0, nullptr, CREATE_ALWAYS, flags, nullptr);
        return h != INVALID_HANDLE_VALUE ? FileAnswer::Done : AnswerForError(GetLastError());
    });
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = h;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        Close();
        return false;
    }
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

bool OutFile::SetAttributes(uint32_t attributes) {
    const DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    FILE_BASIC_INFO info = {};  // times of 0 stay as they are
    info.FileAttributes = attributes & kKept ? attributes & kKept : FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(handle_, FileBasicInfo, &info, sizeof info);
}

bool OutFile::Close() {
    if (!handle_) return true;
    bool ok = CloseHandle(handle_);
    handle_ = nullptr;
    return ok;
}

void OutFile::Discard() {
    if (!handle_) return;
    FILE_DISPOSITION_INFO dispose = {TRUE};
    SetFileInformationByHandle(handle_, FileDispositionInfo, &dispose, sizeof dispose);
    Close();
}

bool CreateFolder(const std::string& path) { return MakeFolder(path, false); }

bool CreateEntryFolder(const std::string& path) { return MakeFolder(path, true); }

#else

namespace {

bool MakeFolder(const std::string& path, bool refuseLink) {
    mkdir(path.c_str(), 0777);
    struct stat st;
    return (refuseLink ? lstat(path.c_str(), &st) : stat(path.c_str(), &st)) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

void UseUtf8CallerText(bool) {}

std::string FromCallerText(std::string_view text) { return std::string(text); }

std::string ToCallerText(std::string_view utf8) { return std::string(utf8); }

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
    // O_NONBLOCK: a FIFO at the name fails at once instead of waiting for a reader.
    const int kFlags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    path_ = path;
    fd_ = open(path.c_str(), kFlags, 0666);
    struct stat st;
    if (fd_ < 0 && errno == EACCES && lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && unlink(path.c_str()) == 0)
        fd_ = open(path.c_str(), kFlags | O_EXCL, 0666);  // a read-only file from an earlier run
    if (fd_ >= 0 && (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) Close();
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

bool OutFile::SetAttributes(uint32_t attributes) {
    const uint32_t kUnixExtension = 0x8000;
    if (!(attributes & kUnixExtension)) return true;
    return fchmod(fd_, mode_t(attributes >> 16 & 07777)) == 0;
}

bool OutFile::Close() {
    if (fd_ < 0) return true;
    bool ok = close(fd_) == 0;
    fd_ = -1;
    return ok;
}

void OutFile::Discard() {
    struct stat mine, there;
    if (fd_ >= 0 && fstat(fd_, &mine) == 0 && lstat(path_.c_str(), &there) == 0 && mine.st_dev == there.st_dev &&
        mine.st_ino == there.st_ino)
        unlink(path_.c_str());
    Close();
}

bool CreateFolder(const std::string& path) { return MakeFolder(path, false); }

bool CreateEntryFolder(const std::string& path) { return MakeFolder(path, true); }

#endif

}  // namespace sevenzip
