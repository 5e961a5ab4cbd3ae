#include "ParallelLzma2Source.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

#include "DecoderMemory.h"
#include "Lzma2Chunk.h"

namespace sevenzip {
namespace {

// Below this much output, starting threads costs more than it brings.
constexpr uint64_t kMinOutput = uint64_t(1) << 17;
// A segment may gather stretches up to this far beyond the dictionary size, so that a stream
// with a small dictionary is not cut into slivers; and at most an eighth of the stream, so
// that both threads have work.
constexpr uint64_t kSegmentSlack = uint64_t(4) << 20;
// Bounds the list for a stream of many tiny stretches.
constexpr size_t kMaxSegments = 1 << 16;
// The reader is woken at most once per this much output: under Wine a wake-up goes through
// the server and costs more than the bytes it hands on.
constexpr size_t kPublishBytes = size_t(1) << 20;

}  // namespace

std::unique_ptr<ByteSource> ParallelLzma2Source::TryMake(ByteSource& input, const std::vector<uint8_t>& properties,
                                                         uint64_t unpackSize) {
  auto* packed = dynamic_cast<PackStreamSource*>(&input);
  if (!packed || unpackSize < kMinOutput) return nullptr;
  const uint64_t dictionary = Lzma2DictionarySize(properties);
  const uint64_t maxSegment = dictionary + std::min(kSegmentSlack, unpackSize / 8);
  if (maxSegment > kMaxDecoderMemory) return nullptr;
  auto segments = SplitLzma2Stream(packed->Stream(), packed->Offset(), packed->Remaining(), unpackSize, dictionary,
                                   maxSegment, kMaxSegments);
  if (segments.size() < 2) return nullptr;
  try {
    return std::make_unique<ParallelLzma2Source>(packed->Stream(), std::move(segments));
  } catch (const std::bad_alloc&) {
  } catch (const std::system_error&) {
  }
  // No room for a window per thread (a 32-bit process's address space is easily cut up), or
  // no threads: the serial decoder needs one window and none.
  return nullptr;
}

ParallelLzma2Source::ParallelLzma2Source(InStream& in, std::vector<Lzma2Segment> segments)
    : in_(in), segments_(std::move(segments)) {
  for (unsigned t = 0; t < kThreads; ++t) {
    uint64_t largest = 0;
    for (size_t index = t; index < segments_.size(); index += kThreads)
      largest = std::max(largest, segments_[index].unpackSize);
    slots_[t].window = ByteBuffer(size_t(largest));
  }
  try {
    for (unsigned t = 0; t < kThreads; ++t) threads_.emplace_back([this, t] { Decode(t); });
  } catch (...) {
    Stop();
    throw;
  }
}

ParallelLzma2Source::~ParallelLzma2Source() { Stop(); }

void ParallelLzma2Source::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (auto& thread : threads_) thread.join();
}

bool ParallelLzma2Source::Claim(Slot& slot, size_t index) {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stop_ || slot.segment == kNoSegment; });
    if (stop_) return false;
    slot.segment = index;
    slot.bytes = nullptr;
    slot.decoded = 0;
    slot.finished = false;
  }
  // The reader is done with the last segment: its decoder goes before the next one is made.
  slot.decoder.reset();
  return true;
}

bool ParallelLzma2Source::Publish(Slot& slot, bool finished, std::exception_ptr failure) {
  {
    std::lock_guard lock(mutex_);
    if (stop_) return false;
    if (slot.decoder) {
      slot.bytes = slot.decoder->Decoded();
      slot.decoded = slot.decoder->DecodedSize();
    }
    slot.finished = finished;
    slot.failure = failure;
  }
  changed_.notify_all();
  return true;
}

// Thread t decodes segments t, t + kThreads, ...; the reader takes them from slot t in turn.
void ParallelLzma2Source::Decode(unsigned thread) {
  Slot& slot = slots_[thread];
  for (size_t index = thread; index < segments_.size(); index += kThreads) {
    if (!Claim(slot, index)) return;
    const Lzma2Segment& segment = segments_[index];
    try {
      slot.input = std::make_unique<PackStreamSource>(in_, segment.packOffset, segment.packSize);
      slot.decoder = std::make_unique<Lzma2Source>(*slot.input, segment, slot.window);
      size_t published = 0;
      while (slot.decoder->DecodeStep()) {
        if (slot.decoder->DecodedSize() - published < kPublishBytes) continue;
        published = slot.decoder->DecodedSize();
        if (!Publish(slot, false, nullptr)) return;
      }
    } catch (...) {
      Publish(slot, true, std::current_exception());
      return;
    }
    if (!Publish(slot, true, nullptr)) return;
  }
}

size_t ParallelLzma2Source::Read(uint8_t* dest, size_t size) {
  size_t done = 0;
  while (done < size && next_ < segments_.size()) {
    Slot& slot = slots_[next_ % kThreads];
    const uint8_t* bytes;
    size_t decoded;
    bool finished;
    std::exception_ptr failure;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return slot.segment == next_ && (slot.decoded > readPos_ || slot.finished); });
      bytes = slot.bytes, decoded = slot.decoded, finished = slot.finished, failure = slot.failure;
    }
    size_t n = std::min(decoded - readPos_, size - done);
    if (n) std::memcpy(dest + done, bytes + readPos_, n);
    readPos_ += n;
    done += n;
    if (readPos_ < decoded || !finished) continue;
    if (failure) std::rethrow_exception(failure);
    // An end marker before the segment's size: the stream is shorter than declared.
    if (decoded < segments_[next_].unpackSize) {
      next_ = segments_.size();
      break;
    }
    {
      std::lock_guard lock(mutex_);
      slot.segment = kNoSegment;
    }
    changed_.notify_all();
    ++next_;
    readPos_ = 0;
  }
  return done;
}

}  // namespace sevenzip
