#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "ArchiveError.h"
#include "ReadAheadSource.h"

namespace {

constexpr size_t kBlock = sevenzip::ReadAheadSource::kBlockSize;

// size counting bytes, then the end of the stream or, when fails, damage.
class CountingSource : public sevenzip::ByteSource {
 public:
  CountingSource(size_t size, bool fails) : size_(size), fails_(fails) {}
  size_t Read(uint8_t* dest, size_t want) override {
    size_t n = std::min(want, size_ - pos_);
    for (size_t i = 0; i < n; ++i) dest[i] = uint8_t((pos_ + i) % 251);
    pos_ += n;
    if (n < want && fails_) sevenzip::ThrowDamaged("test stream fails");
    return n;
  }

 private:
  size_t size_, pos_ = 0;
  bool fails_;
};

// The reader gets every byte in order; a failure comes after the bytes decoded before it.
TEST(ReadAheadSource, HandsOnEveryByteThenTheEndOrTheFailure) {
  const std::tuple<size_t, size_t, bool> cases[] = {
      {0, 100, true}, {5 * kBlock + 7, 7777, false}, {4 * kBlock, kBlock, false}, {6 * kBlock, 3 * kBlock + 1, true}};
  for (const auto& [size, readSize, fails] : cases) {
    SCOPED_TRACE(size);
    auto ahead = sevenzip::ReadAheadSource::Ahead(std::make_unique<CountingSource>(size, fails));
    sevenzip::ByteSource& source = *ahead;
    std::vector<uint8_t> got, chunk(readSize);
    while (got.size() < size) {
      size_t n = source.Read(chunk.data(), std::min(chunk.size(), size - got.size()));
      ASSERT_GT(n, 0u);
      got.insert(got.end(), chunk.begin(), chunk.begin() + n);
    }
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], i % 251) << i;
    if (fails) {
      EXPECT_THROW(source.Read(chunk.data(), 1), sevenzip::ArchiveError);
    } else {
      EXPECT_EQ(source.Read(chunk.data(), 1), 0u);
    }
  }
}

// A reader that stops early (the user pressed Cancel) is not kept waiting for the worker.
TEST(ReadAheadSource, StopsEarlyWithoutDecodingTheRest) {
  auto source = sevenzip::ReadAheadSource::Ahead(std::make_unique<CountingSource>(SIZE_MAX, false));
  uint8_t byte;
  EXPECT_EQ(source->Read(&byte, 1), 1u);
}

}  // namespace
