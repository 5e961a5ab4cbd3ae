#pragma once
// Signs files for the installer and checks them, with the layout of contracts/SignatureLine.h:
// packages and 7-zip32.dll alike.

#include <filesystem>
#include <string>

// Appends the signature line, or replaces the one the file carries. A package's information
// block must still be found where the installer looks for it. Returns what went wrong,
// empty on success; the file is unchanged then.
std::string SignFileInPlace(const std::filesystem::path& file, const std::filesystem::path& privateKeyPem);

// Empty when the file's signature holds for the public key; otherwise why not.
std::string VerifyFileSignature(const std::filesystem::path& file, const std::filesystem::path& publicKeyPem);
