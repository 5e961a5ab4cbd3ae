#include "SignatureCrypto.h"

#include <optional>

#include "PemKey.h"
#include "Utf8Path.h"
#include "WholeFile.h"
#include "platform/EcdsaP256Win32.h"

namespace {

bool Sha256(std::string_view bytes, Sha256Digest& digest) {
  Sha256Hash hash;
  return hash.Start() && hash.Add(bytes.data(), bytes.size()) && hash.Finish(digest);
}

constexpr char kNoCng[] = "CNG (bcrypt.dll in System32) cannot be loaded";

std::string NotAKey(const std::filesystem::path& pem, const char* kind) {
  return "'" + Utf8FromPath(pem) + "' is not an EC P-256 " + kind + " key in PEM";
}

}  // namespace

std::string SignBytes(const std::filesystem::path& privateKeyPem, std::string_view bytes, Signature& signature) {
  const std::optional<std::string> text = ReadWholeFile(privateKeyPem);
  const std::optional<EcPrivateKey> parsed = text ? ParsePrivateKeyPem(*text) : std::nullopt;
  if (!parsed) return NotAKey(privateKeyPem, "private");
  const BcryptFunctions* cng = SystemBcrypt();
  if (!cng) return kNoCng;
  P256Key key;
  if (!ImportP256Key(key, parsed->point.x.data(), parsed->point.y.data(), parsed->d.data())) {
    return NotAKey(privateKeyPem, "private");
  }
  Sha256Digest digest;
  ULONG written = 0;
  if (!Sha256(bytes, digest) ||
      cng->SignHash(key.key.Get(), nullptr, digest.data(), digest.size(), signature.data(), signature.size(), &written,
                    0) != 0 ||
      written != signature.size()) {
    return "CNG could not sign";
  }
  return {};
}

std::string VerifyBytes(const std::filesystem::path& publicKeyPem, std::string_view bytes, const Signature& signature) {
  const std::optional<std::string> text = ReadWholeFile(publicKeyPem);
  const std::optional<EcPublicPoint> point = text ? ParsePublicKeyPem(*text) : std::nullopt;
  if (!point) return NotAKey(publicKeyPem, "public");
  if (!SystemBcrypt()) return kNoCng;
  P256Key key;
  if (!ImportP256Key(key, point->x.data(), point->y.data())) return NotAKey(publicKeyPem, "public");
  Sha256Digest digest;
  if (!Sha256(bytes, digest)) return "CNG could not hash";
  return P256SignatureHolds(key, digest, signature) ? std::string() : std::string(kSignatureDoesNotHold);
}
