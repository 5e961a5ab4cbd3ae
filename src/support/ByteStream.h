#pragma once

#include <cstddef>
#include <string_view>

// What the HTTP client sends and receives through once connected: a TCP connection, or a
// secure session laid over one, without the request and response logic knowing which.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Sends all bytes, each wait for buffer space bounded by waitMs.
  virtual bool SendAll(std::string_view bytes, int waitMs) = 0;
  // Bytes received (>0), 0 when the peer closed, -1 on failure, or kNothingYet when waitMs
  // passed without data.
  static constexpr int kNothingYet = -2;
  virtual int Receive(char* buffer, size_t size, int waitMs) = 0;
};
