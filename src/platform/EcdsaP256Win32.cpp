#include "platform/EcdsaP256Win32.h"

#include <cstring>

bool Sha256Hash::Start() {
  Drop();
  if (ExtensionSha256::Available()) {
    extensions_.Start();
    onExtensions_ = true;
    return true;
  }
  const BcryptFunctions* cng = SystemBcrypt();
  return cng &&
         (algorithm_.Get() || cng->OpenAlgorithmProvider(algorithm_.Out(), BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0) &&
         cng->CreateHash(algorithm_.Get(), hash_.Out(), nullptr, 0, nullptr, 0, 0) == 0;
}

bool Sha256Hash::Add(const void* bytes, std::size_t size) {
  if (onExtensions_) {
    extensions_.Add(bytes, size);
    return true;
  }
  return hash_.Get() && SystemBcrypt()->HashData(hash_.Get(), static_cast<PUCHAR>(const_cast<void*>(bytes)),
                                                 static_cast<ULONG>(size), 0) == 0;
}

bool Sha256Hash::Finish(Sha256Digest& digest) {
  if (onExtensions_) extensions_.Finish(digest.data());
  const bool done =
      onExtensions_ || hash_.Get() && SystemBcrypt()->FinishHash(hash_.Get(), digest.data(), digest.size(), 0) == 0;
  Drop();
  return done;
}

bool ImportP256Key(P256Key& key, const std::uint8_t* x, const std::uint8_t* y, const std::uint8_t* d) {
  struct {
    BCRYPT_ECCKEY_BLOB header;
    std::uint8_t parts[96];  // X, Y and, for a key pair, d
  } blob{{d ? ULONG(BCRYPT_ECDSA_PRIVATE_P256_MAGIC) : ULONG(BCRYPT_ECDSA_PUBLIC_P256_MAGIC), 32}, {}};
  std::memcpy(blob.parts, x, 32);
  std::memcpy(blob.parts + 32, y, 32);
  if (d) std::memcpy(blob.parts + 64, d, 32);
  const BcryptFunctions* cng = SystemBcrypt();
  const bool imported =
      cng && cng->OpenAlgorithmProvider(key.algorithm.Out(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) == 0 &&
      cng->ImportKeyPair(key.algorithm.Get(), nullptr, d ? BCRYPT_ECCPRIVATE_BLOB : BCRYPT_ECCPUBLIC_BLOB,
                         key.key.Out(), reinterpret_cast<PUCHAR>(&blob),
                         static_cast<ULONG>(sizeof blob.header + (d ? 96 : 64)), 0) == 0;
  SecureZeroMemory(&blob, sizeof blob);
  return imported;
}

bool P256SignatureHolds(const P256Key& key, const Sha256Digest& digest, const P256Signature& signature) {
  return key.key.Get() &&
         SystemBcrypt()->VerifySignature(key.key.Get(), nullptr, const_cast<PUCHAR>(digest.data()), digest.size(),
                                         const_cast<PUCHAR>(signature.data()), signature.size(), 0) == 0;
}
