#pragma once
// ECDSA P-256 over SHA-256 through the system's CNG, for the installer's check of the
// publisher's files and for lzpack's signing and checking. Coordinates, d and signatures are
// big-endian, 32 bytes each part, as CNG's blobs hold them.

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/ScopedBcrypt.h"
#include "platform/Sha256Extensions.h"

using Sha256Digest = std::array<UCHAR, 32>;
using P256Signature = std::array<std::uint8_t, 64>;

// A running SHA-256, on the CPU's SHA extensions where it has them and through CNG otherwise;
// every call is false once CNG fails or cannot be loaded.
class Sha256Hash {
 public:
  bool Start();  // a fresh hash, dropping what went before
  bool Add(const void* bytes, std::size_t size);
  bool Finish(Sha256Digest& digest);  // ends the hash
  void Drop() {
    onExtensions_ = false;
    hash_.Reset();
  }

 private:
  ExtensionSha256 extensions_;
  bool onExtensions_ = false;
  ScopedAlgorithm algorithm_;
  ScopedHash hash_;
};

// A public key (d null) or a key pair, imported.
struct P256Key {
  ScopedAlgorithm algorithm;
  ScopedKey key;
};
bool ImportP256Key(P256Key& key, const std::uint8_t* x, const std::uint8_t* y, const std::uint8_t* d = nullptr);

// True only when the signature holds for the digest under the key.
bool P256SignatureHolds(const P256Key& key, const Sha256Digest& digest, const P256Signature& signature);
