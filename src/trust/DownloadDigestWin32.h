#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EcdsaP256Win32.h"
#include "platform/File.h"
#include "support/ScopedWin32.h"
#include "trust/DownloadDigest.h"

// The running SHA-256 of a download's signed part. A thread of its own hashes what the
// download writes, fed through a bounded queue, so that the receive loop goes on while it
// hashes and only the signature check is left when the download ends.
class DownloadDigest {
 public:
  DownloadDigest() = default;
  ~DownloadDigest() { Stop(); }
  DownloadDigest(const DownloadDigest&) = delete;
  DownloadDigest& operator=(const DownloadDigest&) = delete;

  // A fresh hash and its thread; false when CNG or the thread are not to be had.
  bool Start();
  // On the download worker, after each write to the file.
  void OnWrite(std::uint64_t offset, std::string_view bytes);
  // Ends the thread once it has hashed everything written: the digest when it holds
  // exactly the signed part of a file of fileSize bytes.
  std::optional<Sha256Digest> Finish(std::uint64_t fileSize);
  // Ends the thread and drops the hash.
  void Stop();

 private:
  static DWORD WINAPI HashingThread(LPVOID digest);
  void HashQueue();
  void EndThread(bool dropQueued);

  DownloadDigestPlan plan_;  // the download worker's
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
  std::deque<DigestChunk> queue_;
  // Buffers the hash is done with, for the next chunks: a fresh megabyte for each one costs
  // its pages' first touch, under Wine more than the hashing itself.
  std::vector<std::string> spare_;
  std::size_t queuedBytes_ = 0;
  bool ending_ = false;
  bool failed_ = false;  // the hashing thread's, read after it ended
  Sha256Hash hash_;
  AutoCloseHandle thread_;
};

// A file as its download left it: the download's own handle, still open, and the hash of
// its bytes taken as they arrived.
struct DownloadedFile {
  File file;
  DownloadDigest digest;
};
