#pragma once

#include <memory>
#include <string>

#include "support/ByteStream.h"

enum class SecureStart {
  Secured,    // the session is up and the server's certificate holds for the host
  Broken,     // the connection failed, went silent or was cancelled during the handshake
  Untrusted,  // the handshake was refused or the certificate does not hold for the host
};

// A TLS session laid over a connection: bytes sent and received through it are the plain
// ones, encrypted on the wire.
class SecureStream : public ByteStream {
 public:
  // Runs the handshake, naming host to the server, and checks the server's certificate for
  // it. Each wait for the server lasts sliceMs at most; the whole handshake gives up after
  // silenceMs without a byte, or as soon as cancelled() says so.
  virtual SecureStart Start(const std::string& host, int silenceMs, int sliceMs, bool (*cancelled)()) = 0;
};

// Makes the session for one connection, which must outlive it.
using SecureStreamFactory = std::unique_ptr<SecureStream> (*)(ByteStream& connection);
