#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/EcdsaP256Win32.h"
#include "platform/File.h"
#include "trust/DownloadDigest.h"

// The running SHA-256 of a download's signed part, taken on the download worker as each
// write lands: the hash runs at over 1 GB/s where the CPU has SHA extensions, and handing the
// bytes to a thread of its own cost more in copies than it saved.
class DownloadDigest : private DigestSink {
 public:
  DownloadDigest() = default;
  DownloadDigest(const DownloadDigest&) = delete;
  DownloadDigest& operator=(const DownloadDigest&) = delete;

  // A fresh hash; false when neither the SHA extensions nor CNG are to be had.
  bool Start();
  // On the download worker, after each write to the file.
  void OnWrite(std::uint64_t offset, std::string_view bytes);
  // The digest when the hash holds exactly the signed part of a file of fileSize bytes.
  std::optional<Sha256Digest> Finish(std::uint64_t fileSize);
  // Drops the hash.
  void Stop();

 private:
  void Restart() override;
  void Add(std::string_view bytes) override;

  DownloadDigestPlan plan_;
  bool started_ = false;
  bool failed_ = false;
  Sha256Hash hash_;
};

// A file as its download left it: the download's own handle, still open, and the hash of
// its bytes taken as they arrived.
struct DownloadedFile {
  File file;
  DownloadDigest digest;
};
