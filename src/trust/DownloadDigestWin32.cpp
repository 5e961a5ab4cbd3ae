#include "trust/DownloadDigestWin32.h"

bool DownloadDigest::Start() {
  plan_ = {};
  failed_ = false;
  started_ = hash_.Start();
  return started_;
}

void DownloadDigest::OnWrite(std::uint64_t offset, std::string_view bytes) {
  if (started_) plan_.OnWrite(offset, bytes, *this);
}

// A failed hash stays failed: the digest is then refused, never guessed.
void DownloadDigest::Restart() {
  if (!failed_) failed_ = !hash_.Start();
}

void DownloadDigest::Add(std::string_view bytes) {
  if (!failed_) failed_ = !hash_.Add(bytes.data(), bytes.size());
}

std::optional<Sha256Digest> DownloadDigest::Finish(std::uint64_t fileSize) {
  Sha256Digest digest;
  const bool holds = started_ && !failed_ && plan_.Covers(fileSize) && hash_.Finish(digest);
  Stop();
  return holds ? std::optional<Sha256Digest>(digest) : std::nullopt;
}

void DownloadDigest::Stop() {
  started_ = false;
  hash_.Drop();
}
