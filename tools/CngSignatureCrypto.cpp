#include "SignatureCrypto.h"

#include <windows.h>
#include <bcrypt.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "PemKey.h"
#include "Utf8Path.h"

namespace {

// Releases a CNG handle with its own call.
template <typename Handle, NTSTATUS(WINAPI* Release)(Handle)>
struct Scoped {
  Handle handle = nullptr;
  ~Scoped() {
    if (handle) Release(handle);
  }
};
NTSTATUS WINAPI CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm) { return BCryptCloseAlgorithmProvider(algorithm, 0); }
using Algorithm = Scoped<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using Key = Scoped<BCRYPT_KEY_HANDLE, BCryptDestroyKey>;
using Hash = Scoped<BCRYPT_HASH_HANDLE, BCryptDestroyHash>;

std::optional<std::string> ReadText(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

bool Sha256(std::string_view bytes, UCHAR (&digest)[32]) {
  Algorithm algorithm;
  Hash hash;
  return BCryptOpenAlgorithmProvider(&algorithm.handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0 &&
         BCryptCreateHash(algorithm.handle, &hash.handle, nullptr, 0, nullptr, 0, 0) == 0 &&
         BCryptHashData(hash.handle, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                        static_cast<ULONG>(bytes.size()), 0) == 0 &&
         BCryptFinishHash(hash.handle, digest, sizeof digest, 0) == 0;
}

// A key blob: the header, then X, Y (and d for a private key), 32 bytes each.
std::vector<UCHAR> Blob(ULONG magic, const EcPublicPoint& point, const std::array<std::uint8_t, 32>* d) {
  BCRYPT_ECCKEY_BLOB header{magic, 32};
  std::vector<UCHAR> blob(reinterpret_cast<UCHAR*>(&header), reinterpret_cast<UCHAR*>(&header) + sizeof header);
  blob.insert(blob.end(), point.x.begin(), point.x.end());
  blob.insert(blob.end(), point.y.begin(), point.y.end());
  if (d) blob.insert(blob.end(), d->begin(), d->end());
  return blob;
}

bool ImportKey(Algorithm& algorithm, Key& key, LPCWSTR type, std::vector<UCHAR>& blob) {
  return BCryptOpenAlgorithmProvider(&algorithm.handle, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) == 0 &&
         BCryptImportKeyPair(algorithm.handle, nullptr, type, &key.handle, blob.data(), static_cast<ULONG>(blob.size()),
                             0) == 0;
}

std::string NotAKey(const std::filesystem::path& pem, const char* kind) {
  return "'" + Utf8FromPath(pem) + "' is not an EC P-256 " + kind + " key in PEM";
}

}  // namespace

std::string SignBytes(const std::filesystem::path& privateKeyPem, std::string_view bytes, Signature& signature) {
  const std::optional<std::string> text = ReadText(privateKeyPem);
  const std::optional<EcPrivateKey> parsed = text ? ParsePrivateKeyPem(*text) : std::nullopt;
  if (!parsed) return NotAKey(privateKeyPem, "private");
  std::vector<UCHAR> blob = Blob(BCRYPT_ECDSA_PRIVATE_P256_MAGIC, parsed->point, &parsed->d);
  Algorithm algorithm;
  Key key;
  const bool imported = ImportKey(algorithm, key, BCRYPT_ECCPRIVATE_BLOB, blob);
  SecureZeroMemory(blob.data(), blob.size());
  if (!imported) return NotAKey(privateKeyPem, "private");
  UCHAR digest[32];
  ULONG written = 0;
  if (!Sha256(bytes, digest) ||
      BCryptSignHash(key.handle, nullptr, digest, sizeof digest, signature.data(), signature.size(), &written, 0) != 0 ||
      written != signature.size()) {
    return "CNG could not sign";
  }
  return {};
}

std::string VerifyBytes(const std::filesystem::path& publicKeyPem, std::string_view bytes, const Signature& signature) {
  const std::optional<std::string> text = ReadText(publicKeyPem);
  const std::optional<EcPublicPoint> point = text ? ParsePublicKeyPem(*text) : std::nullopt;
  if (!point) return NotAKey(publicKeyPem, "public");
  std::vector<UCHAR> blob = Blob(BCRYPT_ECDSA_PUBLIC_P256_MAGIC, *point, nullptr);
  Algorithm algorithm;
  Key key;
  if (!ImportKey(algorithm, key, BCRYPT_ECCPUBLIC_BLOB, blob)) return NotAKey(publicKeyPem, "public");
  UCHAR digest[32];
  if (!Sha256(bytes, digest)) return "CNG could not hash";
  const bool holds = BCryptVerifySignature(key.handle, nullptr, digest, sizeof digest,
                                           const_cast<PUCHAR>(signature.data()), signature.size(), 0) == 0;
  return holds ? std::string() : std::string(kSignatureDoesNotHold);
}
