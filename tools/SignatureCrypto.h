#pragma once
// ECDSA P-256 over SHA-256 for the package tool, with the keys in PEM as openssl writes them:
// OpenSSL's libcrypto on Linux, CNG on Windows. Each returns what went wrong, empty on success.

#include <filesystem>
#include <string>
#include <string_view>

#include "contracts/SignatureLine.h"

// Signs the bytes with the private key (openssl ecparam -name prime256v1 -genkey -noout).
std::string SignBytes(const std::filesystem::path& privateKeyPem, std::string_view bytes, Signature& signature);

inline constexpr std::string_view kSignatureDoesNotHold = "the signature does not hold for this key";

// Empty when the signature on the bytes holds for the public key (openssl ec -pubout);
// kSignatureDoesNotHold when it does not, another reason when the key cannot be used.
std::string VerifyBytes(const std::filesystem::path& publicKeyPem, std::string_view bytes, const Signature& signature);
