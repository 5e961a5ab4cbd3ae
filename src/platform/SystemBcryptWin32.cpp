#include "platform/SystemBcryptWin32.h"

#include "platform/SystemLibrariesWin32.h"

namespace {

INIT_ONCE gLoaded = INIT_ONCE_STATIC_INIT;
BcryptFunctions gFunctions{};
bool gComplete = false;

template <typename Function>
bool Find(Function& function, const char* name) {
  function = SystemFunction<Function>("bcrypt.dll", name);
  return function != nullptr;
}

BOOL CALLBACK Load(INIT_ONCE*, void*, void**) {
  BcryptFunctions& f = gFunctions;
  gComplete = Find(f.OpenAlgorithmProvider, "BCryptOpenAlgorithmProvider") &&
              Find(f.CloseAlgorithmProvider, "BCryptCloseAlgorithmProvider") &&
              Find(f.CreateHash, "BCryptCreateHash") && Find(f.HashData, "BCryptHashData") &&
              Find(f.FinishHash, "BCryptFinishHash") && Find(f.DestroyHash, "BCryptDestroyHash") &&
              Find(f.ImportKeyPair, "BCryptImportKeyPair") && Find(f.DestroyKey, "BCryptDestroyKey") &&
              Find(f.VerifySignature, "BCryptVerifySignature") && Find(f.SignHash, "BCryptSignHash");
  return TRUE;
}

}  // namespace

const BcryptFunctions* SystemBcrypt() {
  InitOnceExecuteOnce(&gLoaded, Load, nullptr, nullptr);
  return gComplete ? &gFunctions : nullptr;
}
