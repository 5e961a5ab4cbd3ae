#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "ByteSource.h"
#include "InStream.h"
#include "Lzma2Segments.h"
#include "Lzma2Source.h"
#include "PackStreamSource.h"

namespace sevenzip {

// Decodes an LZMA2 stream made of independent segments on threads of its own, each segment
// into a window of its own, and hands the bytes out in order as they are decoded. A failure
// reaches the reader after every byte decoded before it, as with the serial decoder.
class ParallelLzma2Source : public ByteSource {
 public:
  // The machines the installer is made for have two cores; the reader's checking and
  // writing take a small share beside the decoding.
  static constexpr unsigned kThreads = 2;

  // Null unless the stream is a packed stream of its own, large enough to pay for threads,
  // splits into segments that fit a window each (see SplitLzma2Stream), and the windows and
  // threads can be had.
  static std::unique_ptr<ByteSource> TryMake(ByteSource& input, const std::vector<uint8_t>& properties,
                                             uint64_t unpackSize);

  ParallelLzma2Source(InStream& in, std::vector<Lzma2Segment> segments);
  ~ParallelLzma2Source() override;
  ParallelLzma2Source(const ParallelLzma2Source&) = delete;
  ParallelLzma2Source& operator=(const ParallelLzma2Source&) = delete;

  size_t Read(uint8_t* dest, size_t size) override;
  bool DecodesAhead() const override { return true; }

 private:
  static constexpr size_t kNoSegment = SIZE_MAX;
  // What one thread decodes; the decoder and the window are the thread's alone (the reader
  // reads the window's decoded part), the rest is under mutex_.
  struct Slot {
    ByteBuffer window;  // made up front for the thread's largest segment: fresh pages cost time
    std::unique_ptr<PackStreamSource> input;
    std::unique_ptr<Lzma2Source> decoder;
    size_t segment = kNoSegment;  // kNoSegment: free for the thread's next segment
    const uint8_t* bytes = nullptr;
    size_t decoded = 0;
    bool finished = false;
    std::exception_ptr failure;
  };

  // Ends the threads, at once or after their current step.
  void Stop();
  void Decode(unsigned thread);
  // Starts segment `index` in the slot; false when the source is being destroyed.
  bool Claim(Slot& slot, size_t index);
  // Makes the thread's progress visible; false when the source is being destroyed.
  bool Publish(Slot& slot, bool finished, std::exception_ptr failure);

  InStream& in_;
  const std::vector<Lzma2Segment> segments_;
  Slot slots_[kThreads];
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  size_t next_ = 0;     // the segment the reader is in
  size_t readPos_ = 0;  // in that segment
  std::vector<std::thread> threads_;
};

}  // namespace sevenzip
