#include "FileSigning.h"

#include <optional>

#include "SignatureCrypto.h"
#include "Utf8Path.h"
#include "WholeFile.h"
#include "contracts/PackageInfo.h"

namespace {

std::string_view Ending(std::string_view bytes) {
  return bytes.substr(bytes.size() < kSignatureLineSize ? 0 : bytes.size() - kSignatureLineSize);
}

// The information block as the installer reads it from a file of these bytes.
std::optional<PackageInfo> BlockOf(std::string_view bytes) {
  const std::optional<std::uint64_t> offset = PackageTailOffset(bytes.size());
  if (!offset) return std::nullopt;
  return ParsePackageInfo(bytes.substr(*offset));
}

bool SameBlock(const std::optional<PackageInfo>& a, const std::optional<PackageInfo>& b) {
  if (!a || !b) return !a && !b;
  for (const PackageInfoKey& key : kPackageInfoKeys) {
    if ((*a).*key.Value != (*b).*key.Value) return false;
  }
  return true;
}

}  // namespace

std::string SignFileInPlace(const std::filesystem::path& file, const std::filesystem::path& privateKeyPem) {
  const std::string name = "'" + Utf8FromPath(file) + "'";
  std::optional<std::string> bytes = ReadWholeFile(file);
  if (!bytes) return "cannot read " + name;
  const std::string_view covered = std::string_view(*bytes).substr(0, UnsignedSize(Ending(*bytes), bytes->size()));

  Signature signature;
  if (std::string error = SignBytes(privateKeyPem, covered, signature); !error.empty()) return error;
  std::string signedBytes(covered);
  signedBytes += FormatSignatureLine(signature);
  const std::optional<PackageInfo> block = BlockOf(covered);
  if (block && !SameBlock(block, BlockOf(signedBytes))) {
    return "the information block of " + name + " would leave the last " + std::to_string(kPackageTailSize) +
           " bytes once the signature line follows it; repack it with lzpack pack";
  }

  if (!ReplaceWholeFile(file, signedBytes)) return "cannot write " + name;
  return {};
}

std::string VerifyFileSignature(const std::filesystem::path& file, const std::filesystem::path& publicKeyPem) {
  const std::string name = "'" + Utf8FromPath(file) + "'";
  std::optional<std::string> bytes = ReadWholeFile(file);
  if (!bytes) return "cannot read " + name;
  const std::optional<SignatureLine> line = FindSignatureLine(Ending(*bytes), bytes->size());
  if (!line)
    return name + " does not end with a signature line: it is unsigned, or bytes were added or cut after signing";
  const std::string error =
      VerifyBytes(publicKeyPem, std::string_view(*bytes).substr(0, line->coveredSize), line->signature);
  if (error != kSignatureDoesNotHold) return error;
  return name + ": " + error + " (changed after signing, or signed with another key)";
}
