#pragma once
// CNG, from System32's bcrypt.dll loaded on first use: not a library Windows keeps to System32
// by itself, so it is not in the import table.

#include <windows.h>
#include <bcrypt.h>

struct BcryptFunctions {
  decltype(&BCryptOpenAlgorithmProvider) OpenAlgorithmProvider;
  decltype(&BCryptCloseAlgorithmProvider) CloseAlgorithmProvider;
  decltype(&BCryptCreateHash) CreateHash;
  decltype(&BCryptHashData) HashData;
  decltype(&BCryptFinishHash) FinishHash;
  decltype(&BCryptDestroyHash) DestroyHash;
  decltype(&BCryptImportKeyPair) ImportKeyPair;
  decltype(&BCryptDestroyKey) DestroyKey;
  decltype(&BCryptVerifySignature) VerifySignature;
  decltype(&BCryptSignHash) SignHash;
};

// Every function found, or null (then nothing can be checked or signed). Safe from any thread.
const BcryptFunctions* SystemBcrypt();
