#pragma once
// The publisher's public key, built into each installer program (cmake/EmbedPublisherKey.cmake
// writes its definition). Without one, packages and the archive library are used unchecked.

#include <cstdint>

struct PublisherKeyPoint {
  bool present;
  std::uint8_t x[32];  // big-endian, as CNG's ECC public blob holds them
  std::uint8_t y[32];
};

extern const PublisherKeyPoint PublisherKey;
