#include "trust/DownloadDigest.h"

#include "contracts/SignatureLine.h"

void DownloadDigestPlan::OnWrite(std::uint64_t offset, std::string_view bytes, DigestSink& sink) {
  if (bytes.empty()) return;
  if (offset == 0 && (end_ > 0 || inDoubt_)) {
    sink.Restart();
    end_ = 0;
    heldBack_.clear();
    inDoubt_ = false;
  }
  if (inDoubt_ || offset != end_) {
    inDoubt_ = true;
    return;
  }
  end_ += bytes.size();
  const std::size_t pending = heldBack_.size() + bytes.size();
  if (pending <= kSignatureLineSize) {
    heldBack_.append(bytes);
    return;
  }
  // Everything but the last kSignatureLineSize bytes is now known to come before the line.
  const std::size_t ready = pending - kSignatureLineSize;
  if (ready <= heldBack_.size()) {
    sink.Add(std::string_view(heldBack_).substr(0, ready));
    heldBack_.erase(0, ready);
    heldBack_.append(bytes);
    return;
  }
  sink.Add(heldBack_);
  sink.Add(bytes.substr(0, ready - heldBack_.size()));
  heldBack_.assign(bytes.substr(bytes.size() - kSignatureLineSize));
}

bool DownloadDigestPlan::Covers(std::uint64_t fileSize) const {
  return !inDoubt_ && end_ == fileSize && fileSize >= kSignatureLineSize;
}
