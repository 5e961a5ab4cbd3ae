#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "ByteBuffer.h"
#include "ByteSource.h"

namespace sevenzip {

// Decodes a stream on a thread of its own, a few blocks ahead of the reader, so that decoding
// runs on one core while the reader checks and writes on the other. A failure of the stream
// reaches the reader where it happened: after the bytes decoded before it.
class ReadAheadSource : public ByteSource {
 public:
  // Each block the reader has to wait for is a wake-up, which under Wine goes through the
  // server: at 256 KiB that cost the library a tenth of its time.
  static constexpr size_t kBlockSize = size_t(1) << 19;

  // The source decoded ahead on a thread of its own; the source itself where no thread or no
  // room for the blocks can be had, to be read on the caller's thread.
  static std::unique_ptr<ByteSource> Ahead(std::unique_ptr<ByteSource> source);

  ~ReadAheadSource() override;
  ReadAheadSource(const ReadAheadSource&) = delete;
  ReadAheadSource& operator=(const ReadAheadSource&) = delete;

  size_t Read(uint8_t* dest, size_t size) override;

 private:
  static constexpr size_t kBlocks = 3;
  ReadAheadSource() = default;
  struct Block {
    ByteBuffer bytes{kBlockSize};
    size_t size = 0;
  };

  void Decode();

  std::unique_ptr<ByteSource> source_;  // used by the worker alone
  Block blocks_[kBlocks];
  std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t filled_ = 0;  // blocks decoded so far
  uint64_t taken_ = 0;   // blocks the reader has finished with
  size_t readPos_ = 0;   // in the reader's current block
  bool ended_ = false;   // the worker met the end of the stream or a failure
  bool stop_ = false;
  std::exception_ptr failure_;
  std::thread worker_;
};

}  // namespace sevenzip
