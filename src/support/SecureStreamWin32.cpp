#include "support/SecureStreamWin32.h"

#define SECURITY_WIN32
#include <windows.h>
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/SystemLibrariesWin32.h"

namespace {

// Room for the largest record (16 KiB and its overhead) and several more, so that one
// receive from the connection brings many records to decrypt without waiting in between.
constexpr size_t kWireBufferSize = 128 * 1024;
constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                ISC_REQ_EXTENDED_ERROR | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM;

struct TlsFunctions {
  PSecurityFunctionTableA sspi;
  decltype(&CertGetCertificateChain) getChain;
  decltype(&CertVerifyCertificateChainPolicy) verifyPolicy;
  decltype(&CertFreeCertificateChain) freeChain;
  decltype(&CertFreeCertificateContext) freeCertificate;
};

// Sessions are made on the download worker alone, one worker at a time, so a plain flag
// is enough to load the functions once.
bool gLoadTried = false;
TlsFunctions gFunctions{};
bool gComplete = false;

template <typename Function>
bool Find(Function& function, HMODULE module, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

bool Load() {
  TlsFunctions& f = gFunctions;
  const auto init = SystemFunction<INIT_SECURITY_INTERFACE_A>("secur32.dll", "InitSecurityInterfaceA");
  f.sspi = init ? init() : nullptr;
  const HMODULE crypt32 = LoadSystemLibrary("crypt32.dll");
  return f.sspi && crypt32 && Find(f.getChain, crypt32, "CertGetCertificateChain") &&
         Find(f.verifyPolicy, crypt32, "CertVerifyCertificateChainPolicy") &&
         Find(f.freeChain, crypt32, "CertFreeCertificateChain") &&
         Find(f.freeCertificate, crypt32, "CertFreeCertificateContext");
}

// Chain to a root the system trusts, for server authentication, and the SSL policy for name.
bool ChainHolds(const TlsFunctions& f, PCCERT_CONTEXT certificate, const std::string& name) {
  char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
  LPSTR usages[] = {serverAuth};
  CERT_CHAIN_PARA chainPara{};
  chainPara.cbSize = sizeof chainPara;
  chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
  chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!f.getChain(nullptr, certificate, nullptr, certificate->hCertStore, &chainPara, 0, nullptr, &chain)) return false;
  // A host name that resolved is ASCII; a longer one than DNS allows matches no certificate.
  WCHAR wideName[256] = {};
  for (size_t i = 0; i < name.size() && i + 1 < 256; ++i) wideName[i] = static_cast<unsigned char>(name[i]);
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbStruct = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = wideName;
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  // Wine's SSL policy passes a chain that ends short of any root; the chain's own verdict does not.
  const bool holds = chain->TrustStatus.dwErrorStatus == CERT_TRUST_NO_ERROR &&
                     f.verifyPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status) && status.dwError == 0;
  f.freeChain(chain);
  return holds;
}

class SchannelStream : public SecureStream {
 public:
  SchannelStream(const TlsFunctions& functions, ByteStream& wire)
      : f_(functions), sspi_(*functions.sspi), wire_(wire), in_(kWireBufferSize) {}
  ~SchannelStream() override {
    if (haveContext_) sspi_.DeleteSecurityContext(&context_);
    if (haveCredentials_) sspi_.FreeCredentialsHandle(&credentials_);
  }
  SchannelStream(const SchannelStream&) = delete;
  SchannelStream& operator=(const SchannelStream&) = delete;

  SecureStart Start(const std::string& host, int silenceMs, int sliceMs, bool (*cancelled)()) override {
    SCHANNEL_CRED settings{};
    settings.dwVersion = SCHANNEL_CRED_VERSION;
    settings.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    // The certificate is checked below, by the system's chain and policy, not by Schannel alone.
    settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    char package[] = SCHANNEL_NAME_A;
    haveCredentials_ = sspi_.AcquireCredentialsHandleA(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &settings,
                                                       nullptr, nullptr, &credentials_, nullptr) == SEC_E_OK;
    if (!haveCredentials_) return SecureStart::Untrusted;
    const SecureStart end = Handshake(host, silenceMs, sliceMs, cancelled);
    if (end != SecureStart::Secured) return end;
    if (sspi_.QueryContextAttributesA(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK) {
      return SecureStart::Untrusted;
    }
    return CertificateHolds(host) ? SecureStart::Secured : SecureStart::Untrusted;
  }

  bool SendAll(std::string_view bytes, int waitMs) override {
    std::vector<char> record(sizes_.cbHeader + sizes_.cbMaximumMessage + sizes_.cbTrailer);
    while (!bytes.empty()) {
      const size_t size = bytes.size() < sizes_.cbMaximumMessage ? bytes.size() : sizes_.cbMaximumMessage;
      std::memcpy(record.data() + sizes_.cbHeader, bytes.data(), size);
      SecBuffer buffers[4] = {{sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
                              {static_cast<ULONG>(size), SECBUFFER_DATA, record.data() + sizes_.cbHeader},
                              {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + sizes_.cbHeader + size},
                              {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc message{SECBUFFER_VERSION, 4, buffers};
      if (sspi_.EncryptMessage(&context_, 0, &message, 0) != SEC_E_OK) return false;
      const size_t total = buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer;
      if (!wire_.SendAll(std::string_view(record.data(), total), waitMs)) return false;
      bytes.remove_prefix(size);
    }
    return true;
  }

  // Fills the buffer with as many decrypted records as are at hand; waits on the wire only
  // when none is.
  int Receive(char* buffer, size_t size, int waitMs) override {
    for (;;) {
      size_t given = 0;
      while (given < size) {
        if (plainSize_ == 0 && !DecryptNext()) break;
        const size_t part = plainSize_ < size - given ? plainSize_ : size - given;
        std::memcpy(buffer + given, plain_, part);
        plain_ += part;
        plainSize_ -= part;
        given += part;
      }
      if (given > 0) return static_cast<int>(given);
      if (failed_) return -1;
      if (closed_) return 0;
      const int received = ReceiveMore(waitMs);
      // The wire ending without the server's close_notify may have cut the body short.
      if (received <= 0) return received == ByteStream::kNothingYet ? received : -1;
    }
  }

 private:
  // Moves the undecrypted bytes to the front and adds what the wire brings.
  int ReceiveMore(int waitMs) {
    std::memmove(in_.data(), in_.data() + start_, end_ - start_);
    end_ -= start_;
    start_ = 0;
    if (end_ == in_.size()) return -1;  // larger than any record may be
    const int received = wire_.Receive(in_.data() + end_, in_.size() - end_, waitMs);
    if (received > 0) end_ += static_cast<size_t>(received);
    return received;
  }

  // Decrypts the next whole record in place; false when none is complete yet, at the
  // server's close_notify or on a fault.
  bool DecryptNext() {
    if (end_ == start_ || closed_ || failed_) return false;
    SecBuffer buffers[4] = {{static_cast<ULONG>(end_ - start_), SECBUFFER_DATA, in_.data() + start_},
                            {0, SECBUFFER_EMPTY, nullptr},
                            {0, SECBUFFER_EMPTY, nullptr},
                            {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc message{SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = sspi_.DecryptMessage(&context_, &message, 0, nullptr);
    if (status == SEC_E_INCOMPLETE_MESSAGE) return false;
    closed_ = status == SEC_I_CONTEXT_EXPIRED;
    failed_ = status != SEC_E_OK && !closed_;
    if (status != SEC_E_OK) return false;
    size_t extra = 0;
    for (const SecBuffer& b : buffers) {
      if (b.BufferType == SECBUFFER_DATA) {
        plain_ = static_cast<char*>(b.pvBuffer);
        plainSize_ = b.cbBuffer;
      } else if (b.BufferType == SECBUFFER_EXTRA) {
        extra = b.cbBuffer;
      }
    }
    start_ = end_ - extra;
    return true;
  }

  SecureStart Handshake(const std::string& name, int silenceMs, int sliceMs, bool (*cancelled)()) {
    bool first = true;
    for (;;) {
      SecBuffer input[2] = {{static_cast<ULONG>(end_), SECBUFFER_TOKEN, in_.data()}, {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc inputDesc{SECBUFFER_VERSION, 2, input};
      SecBuffer output[1] = {{0, SECBUFFER_TOKEN, nullptr}};
      SecBufferDesc outputDesc{SECBUFFER_VERSION, 1, output};
      ULONG attributes = 0;
      const SECURITY_STATUS status = sspi_.InitializeSecurityContextA(
          &credentials_, first ? nullptr : &context_, const_cast<char*>(name.c_str()), kContextFlags, 0, 0,
          first ? nullptr : &inputDesc, 0, &context_, &outputDesc, &attributes, nullptr);
      haveContext_ = haveContext_ || status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED;
      first = false;
      if (output[0].pvBuffer != nullptr) {
        const bool sent =
            wire_.SendAll(std::string_view(static_cast<char*>(output[0].pvBuffer), output[0].cbBuffer), silenceMs);
        sspi_.FreeContextBuffer(output[0].pvBuffer);
        if (!sent) return SecureStart::Broken;
      }
      if (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED) {
        // Bytes after this handshake message belong to the next one, or to the first records.
        const size_t extra = input[1].BufferType == SECBUFFER_EXTRA ? input[1].cbBuffer : 0;
        std::memmove(in_.data(), in_.data() + end_ - extra, extra);
        end_ = extra;
        if (status == SEC_E_OK) return SecureStart::Secured;
        if (extra > 0) continue;
      } else if (status != SEC_E_INCOMPLETE_MESSAGE) {
        return SecureStart::Untrusted;
      }
      if (!AwaitHandshakeBytes(silenceMs, sliceMs, cancelled)) return SecureStart::Broken;
    }
  }

  bool AwaitHandshakeBytes(int silenceMs, int sliceMs, bool (*cancelled)()) {
    const DWORD start = GetTickCount();
    for (;;) {
      const int received = ReceiveMore(sliceMs);
      if (received > 0) return true;
      if (received != ByteStream::kNothingYet || cancelled()) return false;
      if (GetTickCount() - start >= static_cast<DWORD>(silenceMs)) return false;
    }
  }

  bool CertificateHolds(const std::string& name) {
    PCCERT_CONTEXT certificate = nullptr;
    if (sspi_.QueryContextAttributesA(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) != SEC_E_OK ||
        certificate == nullptr) {
      return false;
    }
    const bool holds = ChainHolds(f_, certificate, name);
    f_.freeCertificate(certificate);
    return holds;
  }

  const TlsFunctions& f_;
  SecurityFunctionTableA& sspi_;
  ByteStream& wire_;
  CredHandle credentials_{};
  CtxtHandle context_{};
  bool haveCredentials_ = false;
  bool haveContext_ = false;
  SecPkgContext_StreamSizes sizes_{};
  std::vector<char> in_;  // bytes from the wire; [start_, end_) not decrypted yet
  size_t start_ = 0;
  size_t end_ = 0;
  char* plain_ = nullptr;  // decrypted bytes not yet handed out, inside in_
  size_t plainSize_ = 0;
  bool closed_ = false;  // the server's close_notify came
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<SecureStream> NewSystemSecureStream(ByteStream& connection) {
  if (!gLoadTried) {
    gLoadTried = true;
    gComplete = Load();
  }
  if (!gComplete) return nullptr;
  return std::make_unique<SchannelStream>(gFunctions, connection);
}
