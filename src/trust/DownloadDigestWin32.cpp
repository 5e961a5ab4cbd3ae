#include "trust/DownloadDigestWin32.h"

namespace {

// Enough for the hash to fall well behind a fast line before the receive loop waits for it.
constexpr std::size_t kQueueLimit = 16 << 20;
// As many as the two threads pass between them while the hash keeps up.
constexpr std::size_t kSpareBuffers = 4;

}  // namespace

bool DownloadDigest::Start() {
  Stop();
  plan_ = {};
  failed_ = false;
  ending_ = false;
  if (!hash_.Start()) return false;
  thread_.Reset(CreateThread(nullptr, 0, HashingThread, this, 0, nullptr));
  // The receive path comes first; the hash takes the time it leaves over.
  if (thread_.IsValid()) SetThreadPriority(thread_, THREAD_PRIORITY_BELOW_NORMAL);
  return thread_.IsValid();
}

void DownloadDigest::OnWrite(std::uint64_t offset, std::string_view bytes) {
  if (!thread_.IsValid()) return;
  DigestChunk chunk;
  AcquireSRWLockExclusive(&lock_);
  if (!spare_.empty()) {
    chunk.bytes = std::move(spare_.back());
    spare_.pop_back();
  }
  ReleaseSRWLockExclusive(&lock_);
  plan_.OnWrite(offset, bytes, chunk);
  AcquireSRWLockExclusive(&lock_);
  if (!chunk.restart && chunk.bytes.empty()) {
    if (spare_.size() < kSpareBuffers) spare_.push_back(std::move(chunk.bytes));
    ReleaseSRWLockExclusive(&lock_);
    return;
  }
  while (queuedBytes_ >= kQueueLimit) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
  queuedBytes_ += chunk.bytes.size();
  queue_.push_back(std::move(chunk));
  ReleaseSRWLockExclusive(&lock_);
  WakeAllConditionVariable(&changed_);
}

DWORD WINAPI DownloadDigest::HashingThread(LPVOID digest) {
  static_cast<DownloadDigest*>(digest)->HashQueue();
  return 0;
}

void DownloadDigest::HashQueue() {
  for (;;) {
    AcquireSRWLockExclusive(&lock_);
    while (queue_.empty() && !ending_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    if (queue_.empty()) {
      ReleaseSRWLockExclusive(&lock_);
      return;
    }
    DigestChunk chunk = std::move(queue_.front());
    queue_.pop_front();
    queuedBytes_ -= chunk.bytes.size();
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
    // A failed hash still drains the queue, so the download never waits on it.
    if (chunk.restart && !failed_) failed_ = !hash_.Start();
    if (!failed_ && !chunk.bytes.empty()) failed_ = !hash_.Add(chunk.bytes.data(), chunk.bytes.size());
    AcquireSRWLockExclusive(&lock_);
    if (spare_.size() < kSpareBuffers) spare_.push_back(std::move(chunk.bytes));
    ReleaseSRWLockExclusive(&lock_);
  }
}

void DownloadDigest::EndThread(bool dropQueued) {
  if (!thread_.IsValid()) return;
  AcquireSRWLockExclusive(&lock_);
  ending_ = true;
  if (dropQueued) {
    queue_.clear();
    queuedBytes_ = 0;
  }
  ReleaseSRWLockExclusive(&lock_);
  WakeAllConditionVariable(&changed_);
  WaitForSingleObject(thread_, INFINITE);
  thread_.Reset();
  spare_ = {};
}

std::optional<Sha256Digest> DownloadDigest::Finish(std::uint64_t fileSize) {
  const bool started = thread_.IsValid();
  EndThread(false);
  Sha256Digest digest;
  const bool holds = started && !failed_ && plan_.Covers(fileSize) && hash_.Finish(digest);
  hash_.Drop();
  return holds ? std::optional<Sha256Digest>(digest) : std::nullopt;
}

void DownloadDigest::Stop() {
  EndThread(true);
  hash_.Drop();
}
