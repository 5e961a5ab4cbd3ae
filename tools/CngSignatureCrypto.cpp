#include "SignatureCrypto.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "PemKey.h"
#include "Utf8Path.h"
#include "support/ScopedBcrypt.h"

namespace {

std::optional<std::string> ReadText(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

bool Sha256(const BcryptFunctions& cng, std::string_view bytes, UCHAR (&digest)[32]) {
  ScopedAlgorithm algorithm;
  ScopedHash hash;
  return cng.OpenAlgorithmProvider(algorithm.Out(), BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0 &&
         cng.CreateHash(algorithm.Get(), hash.Out(), nullptr, 0, nullptr, 0, 0) == 0 &&
         cng.HashData(hash.Get(), reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                      static_cast<ULONG>(bytes.size()), 0) == 0 &&
         cng.FinishHash(hash.Get(), digest, sizeof digest, 0) == 0;
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

bool ImportKey(const BcryptFunctions& cng, ScopedAlgorithm& algorithm, ScopedKey& key, LPCWSTR type,
               std::vector<UCHAR>& blob) {
  return cng.OpenAlgorithmProvider(algorithm.Out(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) == 0 &&
         cng.ImportKeyPair(algorithm.Get(), nullptr, type, key.Out(), blob.data(), static_cast<ULONG>(blob.size()), 0) == 0;
}

constexpr char kNoCng[] = "CNG (bcrypt.dll in System32) cannot be loaded";

std::string NotAKey(const std::filesystem::path& pem, const char* kind) {
  return "'" + Utf8FromPath(pem) + "' is not an EC P-256 " + kind + " key in PEM";
}

}  // namespace

std::string SignBytes(const std::filesystem::path& privateKeyPem, std::string_view bytes, Signature& signature) {
  const std::optional<std::string> text = ReadText(privateKeyPem);
  const std::optional<EcPrivateKey> parsed = text ? ParsePrivateKeyPem(*text) : std::nullopt;
  if (!parsed) return NotAKey(privateKeyPem, "private");
  const BcryptFunctions* cng = SystemBcrypt();
  if (!cng) return kNoCng;
  std::vector<UCHAR> blob = Blob(BCRYPT_ECDSA_PRIVATE_P256_MAGIC, parsed->point, &parsed->d);
  ScopedAlgorithm algorithm;
  ScopedKey key;
  const bool imported = ImportKey(*cng, algorithm, key, BCRYPT_ECCPRIVATE_BLOB, blob);
  SecureZeroMemory(blob.data(), blob.size());
  if (!imported) return NotAKey(privateKeyPem, "private");
  UCHAR digest[32];
  ULONG written = 0;
  if (!Sha256(*cng, bytes, digest) ||
      cng->SignHash(key.Get(), nullptr, digest, sizeof digest, signature.data(), signature.size(), &written, 0) != 0 ||
      written != signature.size()) {
    return "CNG could not sign";
  }
  return {};
}

std::string VerifyBytes(const std::filesystem::path& publicKeyPem, std::string_view bytes, const Signature& signature) {
  const std::optional<std::string> text = ReadText(publicKeyPem);
  const std::optional<EcPublicPoint> point = text ? ParsePublicKeyPem(*text) : std::nullopt;
  if (!point) return NotAKey(publicKeyPem, "public");
  const BcryptFunctions* cng = SystemBcrypt();
  if (!cng) return kNoCng;
  std::vector<UCHAR> blob = Blob(BCRYPT_ECDSA_PUBLIC_P256_MAGIC, *point, nullptr);
  ScopedAlgorithm algorithm;
  ScopedKey key;
  if (!ImportKey(*cng, algorithm, key, BCRYPT_ECCPUBLIC_BLOB, blob)) return NotAKey(publicKeyPem, "public");
  UCHAR digest[32];
  if (!Sha256(*cng, bytes, digest)) return "CNG could not hash";
  const bool holds = cng->VerifySignature(key.Get(), nullptr, digest, sizeof digest, const_cast<PUCHAR>(signature.data()),
                                          signature.size(), 0) == 0;
  return holds ? std::string() : std::string(kSignatureDoesNotHold);
}
