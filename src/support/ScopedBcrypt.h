#pragma once

// Holders for CNG handles, each released with its own call on every path. A handle exists
// only when SystemBcrypt() gave the functions that made it.

#include "support/SystemBcrypt.h"

template <typename Handle, void (*Release)(Handle)>
class ScopedBcrypt {
public:
    ScopedBcrypt() = default;
    ~ScopedBcrypt() { Reset(); }
    ScopedBcrypt(const ScopedBcrypt&) = delete;
    ScopedBcrypt& operator=(const ScopedBcrypt&) = delete;
    void Reset() {
        if (handle_) Release(handle_);
        handle_ = nullptr;
    }
    Handle* Out() { return &handle_; }
    Handle Get() const { return handle_; }

private:
    Handle handle_ = nullptr;
};

inline void CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm) { SystemBcrypt()->CloseAlgorithmProvider(algorithm, 0); }
inline void DestroyHash(BCRYPT_HASH_HANDLE hash) { SystemBcrypt()->DestroyHash(hash); }
inline void DestroyKey(BCRYPT_KEY_HANDLE key) { SystemBcrypt()->DestroyKey(key); }

using ScopedAlgorithm = ScopedBcrypt<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using ScopedHash = ScopedBcrypt<BCRYPT_HASH_HANDLE, DestroyHash>;
using ScopedKey = ScopedBcrypt<BCRYPT_KEY_HANDLE, DestroyKey>;
