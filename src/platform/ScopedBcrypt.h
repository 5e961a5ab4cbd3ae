#pragma once

// Holders for CNG handles, each released with its own call on every path. A handle exists
// only when SystemBcrypt() gave the functions that made it.

#include "platform/ScopedHandle.h"
#include "platform/SystemBcryptWin32.h"

inline void CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm) { SystemBcrypt()->CloseAlgorithmProvider(algorithm, 0); }
inline void DestroyHash(BCRYPT_HASH_HANDLE hash) { SystemBcrypt()->DestroyHash(hash); }
inline void DestroyKey(BCRYPT_KEY_HANDLE key) { SystemBcrypt()->DestroyKey(key); }

using ScopedAlgorithm = ScopedHandle<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using ScopedHash = ScopedHandle<BCRYPT_HASH_HANDLE, DestroyHash>;
using ScopedKey = ScopedHandle<BCRYPT_KEY_HANDLE, DestroyKey>;
