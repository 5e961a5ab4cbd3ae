#pragma once

#include <memory>

#include "support/SecureStream.h"

// A TLS 1.2 session through the system's Schannel (secur32, loaded from System32), the
// server's certificate checked as Windows checks it for any program: a chain to a trusted
// root and the SSL policy for the host name (crypt32, loaded likewise). Null when the system
// has neither. For the download worker only (one at a time).
std::unique_ptr<SecureStream> NewSystemSecureStream(ByteStream& connection);
