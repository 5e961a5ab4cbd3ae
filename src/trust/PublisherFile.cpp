#include "trust/PublisherFile.h"

#include <vector>

#include "support/HeldFileRetry.h"
#include "support/EcdsaP256Win32.h"
#include "trust/PublisherKey.h"
#include "trust/SignatureLine.h"
#include "support/GbkText.h"

namespace {

constexpr DWORD kChunkSize = 1 << 20;

bool ReadAt(HANDLE file, std::uint64_t offset, void* buffer, DWORD size) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  DWORD read = 0;
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && ReadFile(file, buffer, size, &read, nullptr) &&
         read == size;
}

std::optional<SignatureLine> ReadSignatureLine(HANDLE file, std::uint64_t size) {
  if (size < kSignatureLineSize) return std::nullopt;
  char ending[kSignatureLineSize];
  if (!ReadAt(file, size - kSignatureLineSize, ending, sizeof ending)) return std::nullopt;
  return FindSignatureLine(std::string_view(ending, sizeof ending), size);
}

bool HashCovered(HANDLE file, std::uint64_t covered, Sha256Digest& digest) {
  Sha256Hash hash;
  if (!hash.Start()) return false;
  std::vector<UCHAR> chunk(kChunkSize);
  for (std::uint64_t offset = 0; offset < covered;) {
    const DWORD size = static_cast<DWORD>(covered - offset < kChunkSize ? covered - offset : kChunkSize);
    if (!ReadAt(file, offset, chunk.data(), size) || !hash.Add(chunk.data(), size)) return false;
    offset += size;
  }
  return hash.Finish(digest);
}

bool SignatureHolds(const Sha256Digest& digest, const Signature& signature) {
  P256Key key;
  return ImportP256Key(key, PublisherKey.x, PublisherKey.y) && P256SignatureHolds(key, digest, signature);
}

// The file's size and signature line, when it has one.
std::optional<SignatureLine> ReadLine(HANDLE file, std::uint64_t& size) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(file, &value)) return std::nullopt;
  size = static_cast<std::uint64_t>(value.QuadPart);
  return ReadSignatureLine(file, size);
}

}  // namespace

bool HoldPublisherFile(const std::string& path, AutoCloseHandle& hold) {
  hold.Reset();
  if (!PublisherKey.present) return true;
  RetryWhileHeld([&] {
    hold.Reset(CreateFileW(WideText(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return hold.IsValid() ? FileAnswer::Done : AnswerForError(GetLastError());
  });
  std::uint64_t size = 0;
  Sha256Digest digest;
  std::optional<SignatureLine> line;
  if (hold.IsValid()) line = ReadLine(hold, size);
  if (line && HashCovered(hold, line->coveredSize, digest) && SignatureHolds(digest, line->signature)) return true;
  hold.Reset();
  return false;
}

bool HoldDownloadedFile(DownloadedFile& downloaded, AutoCloseHandle& hold) {
  hold.Reset();
  AutoCloseHandle file(downloaded.file.Release());
  std::uint64_t size = 0;
  const std::optional<SignatureLine> line = ReadLine(file, size);
  // Ended on every path, so the hashing thread never outlives the check.
  std::optional<Sha256Digest> digest = downloaded.digest.Finish(size);
  if (!line) return false;
  if (!digest) {
    digest.emplace();
    if (!HashCovered(file, line->coveredSize, *digest)) return false;
  }
  if (!SignatureHolds(*digest, line->signature)) return false;
  hold.Reset(file.Release());
  return true;
}
