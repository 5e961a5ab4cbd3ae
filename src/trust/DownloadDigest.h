#pragma once
// Which bytes of a file being downloaded go into the hash of its signed part, so that the
// signature can be checked the moment the download ends instead of reading the file again.
// The part a signature covers is every byte before the last kSignatureLineSize ones, and the
// end is known only when the download ends, so the last bytes written are held back.

#include <cstdint>
#include <string>
#include <string_view>

// Where the bytes the plan picks go, in the order the hash takes them.
class DigestSink {
 public:
  virtual void Restart() = 0;  // the hash starts again from nothing
  virtual void Add(std::string_view bytes) = 0;

 protected:
  ~DigestSink() = default;
};

// Follows the writes to the file in order. Bytes written where the file ends extend the hash;
// a write at offset 0 starts it again (the body restarted, or another host); any other write
// leaves the hash in doubt until the next restart.
class DownloadDigestPlan {
 public:
  // The file got bytes at offset: the sink gets what the hash takes next (possibly nothing).
  void OnWrite(std::uint64_t offset, std::string_view bytes, DigestSink& sink);
  // True when the hash holds exactly the signed part of a file of fileSize bytes.
  bool Covers(std::uint64_t fileSize) const;

 private:
  std::uint64_t end_ = 0;  // the bytes written from offset 0 on, in order
  std::string heldBack_;   // the last of them, at most kSignatureLineSize, not hashed yet
  bool inDoubt_ = false;
};
