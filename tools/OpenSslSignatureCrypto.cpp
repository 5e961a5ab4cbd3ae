#include "SignatureCrypto.h"

#include <openssl/bn.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstring>
#include <memory>

#include "Utf8Path.h"

namespace {

template <typename T, void (*Free)(T*)>
struct Deleter {
  void operator()(T* object) const { Free(object); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using DigestPtr = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX, EVP_MD_CTX_free>>;
using SignaturePtr = std::unique_ptr<ECDSA_SIG, Deleter<ECDSA_SIG, ECDSA_SIG_free>>;
void FreeBio(BIO* bio) { BIO_free(bio); }
using BioPtr = std::unique_ptr<BIO, Deleter<BIO, FreeBio>>;

// The key, or null with the reason in error when the file holds no P-256 key of that kind.
KeyPtr ReadKey(const std::filesystem::path& pem, bool isPrivate, std::string& error) {
  const std::string kind = isPrivate ? "private" : "public";
  error = "'" + Utf8FromPath(pem) + "' is not an EC P-256 " + kind + " key in PEM";
  BioPtr bio(BIO_new_file(pem.c_str(), "r"));
  if (!bio) return nullptr;
  KeyPtr key(isPrivate ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr)
                       : PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
  char group[32] = "";
  if (!key || !EVP_PKEY_is_a(key.get(), "EC") || !EVP_PKEY_get_group_name(key.get(), group, sizeof group, nullptr) ||
      std::strcmp(group, "prime256v1") != 0) {
    return nullptr;
  }
  error.clear();
  return key;
}

}  // namespace

std::string SignBytes(const std::filesystem::path& privateKeyPem, std::string_view bytes, Signature& signature) {
  std::string error;
  KeyPtr key = ReadKey(privateKeyPem, true, error);
  if (!key) return error;
  DigestPtr context(EVP_MD_CTX_new());
  unsigned char der[80];
  std::size_t derSize = sizeof der;
  if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), der, &derSize, reinterpret_cast<const unsigned char*>(bytes.data()),
                     bytes.size()) != 1) {
    return "libcrypto could not sign";
  }
  const unsigned char* cursor = der;
  SignaturePtr parsed(d2i_ECDSA_SIG(nullptr, &cursor, static_cast<long>(derSize)));
  if (!parsed) return "libcrypto wrote a signature it cannot read back";
  BN_bn2binpad(ECDSA_SIG_get0_r(parsed.get()), signature.data(), 32);
  BN_bn2binpad(ECDSA_SIG_get0_s(parsed.get()), signature.data() + 32, 32);
  return {};
}

std::string VerifyBytes(const std::filesystem::path& publicKeyPem, std::string_view bytes, const Signature& signature) {
  std::string error;
  KeyPtr key = ReadKey(publicKeyPem, false, error);
  if (!key) return error;
  SignaturePtr parsed(ECDSA_SIG_new());
  BIGNUM* r = BN_bin2bn(signature.data(), 32, nullptr);
  BIGNUM* s = BN_bin2bn(signature.data() + 32, 32, nullptr);
  if (!parsed || !r || !s || ECDSA_SIG_set0(parsed.get(), r, s) != 1) {
    BN_free(r);
    BN_free(s);
    return "libcrypto is out of memory";
  }
  unsigned char* der = nullptr;
  const int derSize = i2d_ECDSA_SIG(parsed.get(), &der);
  DigestPtr context(EVP_MD_CTX_new());
  const bool holds = derSize > 0 && context &&
                     EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
                     EVP_DigestVerify(context.get(), der, static_cast<std::size_t>(derSize),
                                      reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) == 1;
  OPENSSL_free(der);
  return holds ? std::string() : std::string(kSignatureDoesNotHold);
}
