#include "Bzip2Block.h"

#include <array>
#include <bit>
#include <cstring>

#include "Bzip2Huffman.h"

namespace sevenzip {
namespace {

constexpr unsigned kGroupSize = 50;
constexpr unsigned kMinTables = 2, kMaxTables = 6;

constexpr uint32_t kLinkMask = (1u << 20) - 1;

// bzip2's CRC: the IEEE polynomial, most significant bit first. Eight tables, eight bytes a
// step, as for the 7z CRC: at the speed of the inverse transform it would cost a tenth.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;
constexpr CrcTables MakeCrcTables() {
  CrcTables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i << 24;
    for (int k = 0; k < 8; ++k) r = (r << 1) ^ (0x04C11DB7u & (0u - (r >> 31)));
    t[0][i] = r;
  }
  for (uint32_t i = 0; i < 256; ++i)
    for (int k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] << 8) ^ t[0][t[k - 1][i] >> 24];
  return t;
}
constexpr CrcTables kCrcTables = MakeCrcTables();

uint32_t UpdateBlockCrc(uint32_t crc, const uint8_t* p, size_t size) {
  const auto& t = kCrcTables;
  for (; size >= 8; size -= 8, p += 8) {
    uint32_t hi = crc ^ (uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]);
    uint32_t lo = uint32_t(p[4]) << 24 | p[5] << 16 | p[6] << 8 | p[7];
    crc = t[7][hi >> 24] ^ t[6][(hi >> 16) & 0xFF] ^ t[5][(hi >> 8) & 0xFF] ^ t[4][hi & 0xFF] ^ t[3][lo >> 24] ^
          t[2][(lo >> 16) & 0xFF] ^ t[1][(lo >> 8) & 0xFF] ^ t[0][lo & 0xFF];
  }
  for (; size > 0; --size) crc = crc << 8 ^ t[0][(crc >> 24) ^ *p++];
  return crc;
}

// Takes mtf[index] to the front, the bytes before it one place up, and returns it. Sixteen
// bytes a step from the top down, then eight, each step writing only over bytes already read;
// the lowest eight are read first and written last as one word, so that the next symbol's
// read of them is served from that store. A library memmove aligns its stores with branches
// that miss on every symbol (Wine's: a fifth of the time under Wine), and most symbols move a
// few bytes.
inline uint8_t MoveToFront(uint8_t* mtf, unsigned index) {
  static_assert(std::endian::native == std::endian::little, "byte 0 is the word's low byte");
  uint64_t low;
  std::memcpy(&low, mtf, 8);
  const uint8_t front = mtf[index];
  if (index < 8) {
    const uint64_t moved = index == 7 ? ~uint64_t(0) : (uint64_t(1) << (8 * (index + 1))) - 1;
    low = ((low << 8 | front) & moved) | (low & ~moved);
  } else {
    unsigned k = index;
    for (; k > 15; k -= 16) {
      uint64_t a, b;
      std::memcpy(&a, mtf + k - 16, 8);
      std::memcpy(&b, mtf + k - 8, 8);
      std::memcpy(mtf + k - 15, &a, 8);
      std::memcpy(mtf + k - 7, &b, 8);
    }
    if (k > 7) {
      uint64_t chunk;
      std::memcpy(&chunk, mtf + k - 8, 8);
      std::memcpy(mtf + k - 7, &chunk, 8);
    }
    low = low << 8 | front;
  }
  std::memcpy(mtf, &low, 8);
  return front;
}

}  // namespace

void Bzip2Block::Read(Bzip2BitReader& bits, uint32_t maxSize) {
  storedCrc_ = bits.Get(32);
  if (bits.Get(1)) ThrowUnsupported("randomised bzip2 block");
  origin_ = bits.Get(24);
  constexpr size_t kEntryBytes = sizeof(*tt_) + sizeof(*back_) + sizeof(*text_);
  if (memory_.size() < maxSize * kEntryBytes) {
    memory_ = ByteBuffer();  // the old tables go before the new ones are made
    memory_ = ByteBuffer(maxSize * kEntryBytes);
    tt_ = reinterpret_cast<uint32_t*>(memory_.data());
    back_ = reinterpret_cast<uint16_t*>(tt_ + maxSize);
    text_ = reinterpret_cast<uint8_t*>(back_ + maxSize);
  }
  ReadSymbols(bits, maxSize);
  if (origin_ >= size_) ThrowDamaged("bzip2 origin pointer outside the block");
  LinkEntries();
  Invert();
  next_ = 0;
  pending_ = 0;
  last_ = -1;
  runLength_ = 0;
  crc_ = 0xFFFFFFFF;
}

// Entry j of the sorted rotations links to the entry i of the same byte occurrence in the
// last column, and i back to j: both directions from one counting pass.
void Bzip2Block::LinkEntries() {
  uint32_t start[256] = {};
  uint32_t* tt = tt_;
  uint16_t* back = back_;
  for (uint32_t i = 0; i < size_; ++i) ++start[tt[i] & 0xFF];
  for (uint32_t sum = 0, b = 0; b < 256; ++b) {
    uint32_t n = start[b];
    start[b] = sum;
    sum += n;
  }
  for (uint32_t i = 0; i < size_; ++i) {
    uint32_t j = start[tt[i] & 0xFF]++;
    tt[j] |= i << 8;
    tt[i] |= (j >> 16) << 28;
    back[i] = uint16_t(j);
  }
}

// Each step of the inverse transform waits for a load from a table larger than the caches.
// Walking forward from the origin along the links for the first half and backward along the
// links back for the second gives the processor two independent chains of loads. Both halves
// meet where a valid block's single cycle closes; a damaged block whose links do not close
// there gets its second half from the forward walk alone, as if it had only that walk.
void Bzip2Block::Invert() {
  const uint32_t* tt = tt_;
  const uint16_t* back = back_;
  uint8_t* text = text_;
  const uint32_t half = (size_ + 1) / 2;
  uint32_t forward = (tt[origin_] >> 8) & kLinkMask, backward = origin_;
  uint8_t* tail = text + size_;
  for (uint32_t k = 0; k < half; ++k) {
    uint32_t e = tt[forward];
    text[k] = uint8_t(e);
    forward = (e >> 8) & kLinkMask;
    if (tail != text + half) {
      uint32_t b = tt[backward];
      *--tail = uint8_t(b);
      backward = back[backward] | (b >> 28) << 16;
    }
  }
  if (((tt[backward] >> 8) & kLinkMask) == forward) return;
  for (uint32_t k = half; k < size_; ++k) {
    uint32_t e = tt[forward];
    text[k] = uint8_t(e);
    forward = (e >> 8) & kLinkMask;
  }
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
  alignas(8) uint8_t mtf[256]{};  // whole: a move reads eight bytes even when fewer are in use
  std::memcpy(mtf, used, usedCount);
  const unsigned endOfBlock = usedCount + 1;
  uint32_t* tt = tt_;
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
    const uint8_t b = MoveToFront(mtf, index);
    if (n == maxSize) ThrowDamaged("bzip2 block larger than its size");
    tt[n++] = b;
  }
  size_ = n;
}

size_t Bzip2Block::Produce(uint8_t* dest, size_t size) {
  uint8_t* out = dest;
  uint8_t* const outEnd = dest + size;
  const uint8_t* text = text_;
  uint32_t next = next_;
  int last = last_;
  unsigned runLength = runLength_;
  while (out != outEnd) {
    if (pending_ != 0) {
      size_t n = size_t(outEnd - out) < pending_ ? size_t(outEnd - out) : pending_;
      std::memset(out, last, n);
      out += n;
      pending_ -= uint32_t(n);
      continue;
    }
    if (next == size_) break;
    // Four equal bytes are followed by a count of further copies.
    uint8_t b = text[next++];
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
  }
  next_ = next;
  last_ = last;
  runLength_ = runLength;
  crc_ = UpdateBlockCrc(crc_, dest, size_t(out - dest));
  if (Done() && ~crc_ != storedCrc_) ThrowDamaged("bzip2 block CRC");
  return size_t(out - dest);
}

}  // namespace sevenzip
