#include "trust/PublisherFile.h"

#include <vector>

#include "contracts/SignatureLine.h"
#include "platform/EcdsaP256Win32.h"
#include "platform/GbkText.h"
#include "trust/PublisherKey.h"

namespace {

constexpr std::size_t kChunkSize = 1 << 20;

bool HashCovered(File& file, std::uint64_t covered, Sha256Digest& digest) {
  Sha256Hash hash;
  if (!hash.Start()) return false;
  std::vector<UCHAR> chunk(kChunkSize);
  for (std::uint64_t offset = 0; offset < covered;) {
    const std::size_t size = covered - offset < kChunkSize ? static_cast<std::size_t>(covered - offset) : kChunkSize;
    if (!file.ReadAllAt(offset, chunk.data(), size) || !hash.Add(chunk.data(), size)) return false;
    offset += size;
  }
  return hash.Finish(digest);
}

bool SignatureHolds(const Sha256Digest& digest, const Signature& signature) {
  P256Key key;
  return ImportP256Key(key, PublisherKey.x, PublisherKey.y) && P256SignatureHolds(key, digest, signature);
}

// The file's size and signature line, when it has one.
std::optional<SignatureLine> ReadLine(File& file, std::uint64_t& size) {
  const std::int64_t length = file.Size();
  if (length < 0) return std::nullopt;
  size = static_cast<std::uint64_t>(length);
  if (size < kSignatureLineSize) return std::nullopt;
  char ending[kSignatureLineSize];
  if (!file.ReadAllAt(size - kSignatureLineSize, ending, sizeof ending)) return std::nullopt;
  return FindSignatureLine(std::string_view(ending, sizeof ending), size);
}

}  // namespace

bool HoldPublisherFile(const std::string& path, File& hold) {
  hold.Close();
  if (!PublisherKey.present) return true;
  std::uint64_t size = 0;
  Sha256Digest digest;
  std::optional<SignatureLine> line;
  if (hold.OpenRead(PathFromGbk(path), FileSharing::Readers)) line = ReadLine(hold, size);
  if (line && HashCovered(hold, line->coveredSize, digest) && SignatureHolds(digest, line->signature)) return true;
  hold.Close();
  return false;
}

bool HoldDownloadedFile(DownloadedFile& downloaded, File& hold) {
  hold.Close();
  File file = std::move(downloaded.file);
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
  hold = std::move(file);
  return true;
}
