#include "Bzip2Block.h"

#include <array>
#include <cstring>

#include "Bzip2Huffman.h"

namespace sevenzip {
namespace {

constexpr unsigned kGroupSize = 50;
constexpr unsigned kMinTables = 2, kMaxTables = 6;

// bzip2's CRC: the IEEE polynomial, most significant bit first.
constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i << 24;
    for (int k = 0; k < 8; ++k) r = (r << 1) ^ (0x04C11DB7u & (0u - (r >> 31)));
    t[i] = r;
  }
  return t;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

inline uint32_t CrcByte(uint32_t crc, uint8_t b) { return crc << 8 ^ kCrcTable[(crc >> 24) ^ b]; }

}  // namespace

void Bzip2Block::Read(Bzip2BitReader& bits, uint32_t maxSize) {
  storedCrc_ = bits.Get(32);
  if (bits.Get(1)) ThrowUnsupported("randomised bzip2 block");
  origin_ = bits.Get(24);
  if (capacity_ < maxSize) {
    tt_ = std::make_unique_for_overwrite<uint32_t[]>(maxSize);
    capacity_ = maxSize;
  }
  ReadSymbols(bits, maxSize);
  if (origin_ >= size_) ThrowDamaged("bzip2 origin pointer outside the block");

  uint32_t start[256] = {};
  for (uint32_t i = 0; i < size_; ++i) ++start[tt_[i] & 0xFF];
  for (uint32_t sum = 0, b = 0; b < 256; ++b) {
    uint32_t n = start[b];
    start[b] = sum;
    sum += n;
  }
  uint32_t* tt = tt_.get();
  for (uint32_t i = 0; i < size_; ++i) tt[start[tt[i] & 0xFF]++] |= i << 8;

  pos_ = tt[origin_] >> 8;
  left_ = size_;
  pending_ = 0;
  last_ = -1;
  runLength_ = 0;
  crc_ = 0xFFFFFFFF;
}

void Bzip2Block::ReadSymbols(Bzip2BitReader& bits, uint32_t maxSize) {
  uint8_t used[256];
  unsigned usedCount = 0;
  uint32_t ranges = bits.Get(16);
  for (unsigned i = 0; i < 16; ++i)
    if (ranges & (0x8000u >> i)) {
      uint32_t mask = bits.Get(16);
      for (unsigned j = 0; j < 16; ++j)
        if (mask & (0x8000u >> j)) used[usedCount++] = uint8_t(i * 16 + j);
    }
  if (usedCount == 0) ThrowDamaged("bzip2 block uses no bytes");
  unsigned alphabet = usedCount + 2;

  unsigned tableCount = bits.Get(3);
  if (tableCount < kMinTables || tableCount > kMaxTables) ThrowDamaged("bzip2 table count");
  unsigned selectorCount = bits.Get(15);
  if (selectorCount == 0) ThrowDamaged("bzip2 selector count");
  std::vector<uint8_t> selectors(selectorCount);
  uint8_t order[kMaxTables] = {0, 1, 2, 3, 4, 5};
  for (auto& s : selectors) {
    unsigned j = 0;
    while (bits.Get(1))
      if (++j >= tableCount) ThrowDamaged("bzip2 selector out of range");
    uint8_t t = order[j];
    std::memmove(order + 1, order, j);
    order[0] = t;
    s = t;
  }

  Bzip2Huffman tables[kMaxTables];
  for (unsigned t = 0; t < tableCount; ++t) {
    uint8_t lengths[Bzip2Huffman::kMaxSymbols];
    int len = int(bits.Get(5));
    for (unsigned i = 0; i < alphabet; ++i) {
      for (;;) {
        if (len < 1 || len > int(Bzip2Huffman::kMaxLength)) ThrowDamaged("bzip2 code length");
        if (!bits.Get(1)) break;
        len += bits.Get(1) ? -1 : 1;
      }
      lengths[i] = uint8_t(len);
    }
    tables[t].Build(lengths, alphabet);
  }

  // Move-to-front values with zero runs in bijective base 2 (RUNA = 1, RUNB = 2 units).
  uint8_t mtf[256];
  std::memcpy(mtf, used, usedCount);
  const unsigned endOfBlock = usedCount + 1;
  uint32_t* tt = tt_.get();
  uint32_t n = 0, run = 0, runWeight = 1;
  unsigned group = 0, groupLeft = 0;
  const Bzip2Huffman* table = nullptr;
  for (;;) {
    if (groupLeft == 0) {
      if (group >= selectorCount) ThrowDamaged("bzip2 block runs past its selectors");
      table = &tables[selectors[group++]];
      groupLeft = kGroupSize;
    }
    --groupLeft;
    unsigned sym = table->Decode(bits);
    if (sym <= 1) {
      if (runWeight > maxSize) ThrowDamaged("bzip2 run too long");
      run += runWeight << sym;
      runWeight <<= 1;
      if (run > maxSize - n) ThrowDamaged("bzip2 block larger than its size");
      continue;
    }
    if (run) {
      std::fill(tt + n, tt + n + run, uint32_t(mtf[0]));
      n += run;
      run = 0;
      runWeight = 1;
    }
    if (sym == endOfBlock) break;
    unsigned index = sym - 1;
    uint8_t b = mtf[index];
    std::memmove(mtf + 1, mtf, index);
    mtf[0] = b;
    if (n == maxSize) ThrowDamaged("bzip2 block larger than its size");
    tt[n++] = b;
  }
  size_ = n;
}

size_t Bzip2Block::Produce(uint8_t* dest, size_t size) {
  uint8_t* out = dest;
  uint8_t* const outEnd = dest + size;
  const uint32_t* tt = tt_.get();
  uint32_t pos = pos_, left = left_, crc = crc_;
  int last = last_;
  unsigned runLength = runLength_;
  while (out != outEnd) {
    if (pending_ != 0) {
      size_t n = size_t(outEnd - out) < pending_ ? size_t(outEnd - out) : pending_;
      std::memset(out, last, n);
      for (size_t i = 0; i < n; ++i) crc = CrcByte(crc, uint8_t(last));
      out += n;
      pending_ -= uint32_t(n);
      continue;
    }
    if (left == 0) break;
    // Four equal bytes are followed by a count of further copies.
    pos = tt[pos];
    uint8_t b = uint8_t(pos);
    pos >>= 8;
    --left;
    if (runLength == 4) {
      pending_ = b;
      runLength = 0;
      continue;
    }
    if (b == last) {
      ++runLength;
    } else {
      last = b;
      runLength = 1;
    }
    *out++ = b;
    crc = CrcByte(crc, b);
  }
  pos_ = pos;
  left_ = left;
  crc_ = crc;
  last_ = last;
  runLength_ = runLength;
  if (Done() && ~crc_ != storedCrc_) ThrowDamaged("bzip2 block CRC");
  return size_t(out - dest);
}

}  // namespace sevenzip
