#pragma once
// SHA-256 on the x86 SHA extensions. The system's own hash is the fallback; where the CPU
// has the extensions this one runs several times faster than some systems' (Wine's CNG
// hashes at about a tenth of it), and the hash of a package is on the path a person waits on.

#include <cstddef>
#include <cstdint>

class ExtensionSha256 {
 public:
  static bool Available();  // the CPU has SHA, SSSE3 and SSE4.1

  void Start();
  void Add(const void* bytes, std::size_t size);
  void Finish(std::uint8_t digest[32]);

 private:
  std::uint32_t state_[8];
  std::uint8_t pending_[64];  // the part of a block not hashed yet
  std::uint64_t length_;      // bytes added so far
};
