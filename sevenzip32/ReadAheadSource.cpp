#include "ReadAheadSource.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

namespace sevenzip {

std::unique_ptr<ByteSource> ReadAheadSource::Ahead(std::unique_ptr<ByteSource> source) {
  std::unique_ptr<ReadAheadSource> ahead;
  try {
    ahead.reset(new ReadAheadSource);
  } catch (const std::bad_alloc&) {
    return source;
  }
  ahead->source_ = std::move(source);
  try {
    ahead->worker_ = std::thread([reader = ahead.get()] { reader->Decode(); });
  } catch (const std::system_error&) {
    return std::move(ahead->source_);
  }
  return ahead;
}

ReadAheadSource::~ReadAheadSource() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void ReadAheadSource::Decode() {
  for (;;) {
    Block* block;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stop_ || filled_ - taken_ < kBlocks; });
      if (stop_) return;
      block = &blocks_[filled_ % kBlocks];
    }
    size_t size = 0;
    std::exception_ptr failure;
    try {
      size = source_->Read(block->bytes.data(), kBlockSize);
    } catch (...) {
      failure = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      block->size = size;
      ++filled_;
      failure_ = failure;
      // A short block is the stream's end.
      ended_ = failure || size < kBlockSize;
    }
    changed_.notify_all();
    if (failure || size < kBlockSize) return;
  }
}

size_t ReadAheadSource::Read(uint8_t* dest, size_t size) {
  size_t done = 0;
  while (done < size) {
    Block* block;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return filled_ > taken_ || ended_; });
      if (filled_ == taken_) {
        if (failure_) std::rethrow_exception(failure_);
        break;
      }
      block = &blocks_[taken_ % kBlocks];
    }
    size_t n = std::min(block->size - readPos_, size - done);
    std::memcpy(dest + done, block->bytes.data() + readPos_, n);
    readPos_ += n;
    done += n;
    if (readPos_ == block->size) {
      {
        std::lock_guard lock(mutex_);
        ++taken_;
      }
      readPos_ = 0;
      changed_.notify_all();
    }
  }
  return done;
}

}  // namespace sevenzip
