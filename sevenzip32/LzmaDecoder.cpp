#include "LzmaDecoder.h"

#include <algorithm>
#include <cstring>

#include "ArchiveError.h"
#include "ByteOrder.h"

#define LZMA_INLINE inline __attribute__((always_inline))

namespace sevenzip {
namespace {

constexpr uint32_t kTopValue = 1u << 24;
constexpr unsigned kProbBits = 11;
constexpr uint16_t kProbInit = 1 << (kProbBits - 1);
constexpr unsigned kMoveBits = 5;
constexpr unsigned kStates = 12;
constexpr unsigned kLiteralStates = 7;  // states below this follow a literal
constexpr unsigned kMatchMinLength = 2;
constexpr unsigned kEndPosModel = 14;  // distance slots from here send their middle bits direct
constexpr uint32_t kEndMarker = 0xFFFFFFFF;

// Offsets into the one probability array; the literal coders follow the fixed part.
constexpr unsigned kIsMatch = 0;                           // [state][posState]
constexpr unsigned kIsRep = kIsMatch + kStates * 16;       // [state]
constexpr unsigned kIsRepG0 = kIsRep + kStates;            // [state]
constexpr unsigned kIsRepG1 = kIsRepG0 + kStates;          // [state]
constexpr unsigned kIsRepG2 = kIsRepG1 + kStates;          // [state]
constexpr unsigned kIsRep0Long = kIsRepG2 + kStates;       // [state][posState]
constexpr unsigned kPosSlot = kIsRep0Long + kStates * 16;  // [lenState][64]
constexpr unsigned kSpecPos = kPosSlot + 4 * 64;
constexpr unsigned kAlign = kSpecPos + 128 - kEndPosModel;
// A length coder: choice, choice 2, low[posState][8], mid[posState][8], high[256].
constexpr unsigned kLenChoice2 = 1, kLenLow = 2, kLenMid = kLenLow + 16 * 8, kLenHigh = kLenMid + 16 * 8;
constexpr unsigned kLenCoderSize = kLenHigh + 256;
constexpr unsigned kMatchLen = kAlign + 16;
constexpr unsigned kRepLen = kMatchLen + kLenCoderSize;
constexpr unsigned kLiteral = kRepLen + kLenCoderSize;
constexpr unsigned kLiteralCoderSize = 0x300;

constexpr uint8_t kNextAfterLiteral[kStates] = {0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 4, 5};

// The range coder's registers, kept in locals of the hot loop.
struct Range {
  uint32_t range;
  uint32_t code;
  const uint8_t* in;

  LZMA_INLINE void Normalize() {
    if (range < kTopValue) {
      range <<= 8;
      code = (code << 8) | *in++;
    }
  }
  // For bits whose value is often the same: a predictable branch.
  LZMA_INLINE unsigned Bit(uint16_t& prob) {
    uint32_t p = prob;
    uint32_t bound = (range >> kProbBits) * p;
    unsigned bit;
    if (code < bound) {
      range = bound;
      prob = uint16_t(p + (((1u << kProbBits) - p) >> kMoveBits));
      bit = 0;
    } else {
      range -= bound;
      code -= bound;
      prob = uint16_t(p - (p >> kMoveBits));
      bit = 1;
    }
    Normalize();
    return bit;
  }
  // For literal bits, close to random: selects instead of branches.
  LZMA_INLINE unsigned FlatBit(uint16_t& prob) {
    uint32_t p = prob;
    uint32_t bound = (range >> kProbBits) * p;
    unsigned bit = code >= bound;
    // Masks, not ?:, which the compiler turns back into a branch.
    uint32_t taken = 0u - bit;
    range = bound ^ ((bound ^ (range - bound)) & taken);
    code -= bound & taken;
    uint32_t up = p + (((1u << kProbBits) - p) >> kMoveBits);
    uint32_t down = p - (p >> kMoveBits);
    prob = uint16_t(up ^ ((up ^ down) & taken));
    Normalize();
    return bit;
  }
  LZMA_INLINE unsigned Direct() {
    range >>= 1;
    unsigned bit = code >= range;
    code -= range & (0u - bit);
    Normalize();
    return bit;
  }
  LZMA_INLINE unsigned Tree(uint16_t* probs, unsigned bits) {
    unsigned m = 1;
    for (unsigned i = 0; i < bits; i++) m = (m << 1) | Bit(probs[m]);
    return m - (1u << bits);
  }
  LZMA_INLINE unsigned ReverseTree(uint16_t* probs, unsigned bits) {
    unsigned m = 1, value = 0;
    for (unsigned i = 0; i < bits; i++) {
      unsigned bit = Bit(probs[m]);
      m = (m << 1) | bit;
      value |= bit << i;
    }
    return value;
  }
  LZMA_INLINE unsigned Length(uint16_t* coder, unsigned posState) {
    if (Bit(coder[0]) == 0) return Tree(coder + kLenLow + posState * 8, 3);
    if (Bit(coder[kLenChoice2]) == 0) return 8 + Tree(coder + kLenMid + posState * 8, 3);
    return 16 + Tree(coder + kLenHigh, 8);
  }
};

// Copies n bytes from `distance + 1` back; the caller keeps pos + n within the window.
LZMA_INLINE void CopyMatch(uint8_t* win, size_t size, size_t pos, uint32_t distance, size_t n) {
  size_t src = pos > distance ? pos - distance - 1 : pos + size - distance - 1;
  uint8_t* d = win + pos;
  if (src + n <= size) {
    const uint8_t* s = win + src;
    size_t i = 0;
    // Eight bytes at a time when the source lies at least eight behind: each step then
    // reads only bytes already written. Never past n: the ring ahead is still history.
    if (distance >= 7) {
      for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, s + i, 8);
        std::memcpy(d + i, &v, 8);
      }
    }
    for (; i < n; i++) d[i] = s[i];
    return;
  }
  for (size_t i = 0; i < n; i++) {
    d[i] = win[src];
    if (++src == size) src = 0;
  }
}

}  // namespace

void LzmaDecoder::SetProperties(unsigned lc, unsigned lp, unsigned pb) {
  lc_ = lc;
  lpMask_ = (1u << lp) - 1;
  pbMask_ = (1u << pb) - 1;
  probs_.assign(kLiteral + (kLiteralCoderSize << (lc + lp)), kProbInit);
  ResetState();
}

void LzmaDecoder::ResetState() {
  std::fill(probs_.begin(), probs_.end(), kProbInit);
  state_ = 0;
  std::fill(std::begin(reps_), std::end(reps_), 0);
  pending_ = 0;
}

void LzmaDecoder::CopyPending(LzmaWindow& w, size_t limit) {
  size_t n = std::min<size_t>(pending_, limit - w.pos);
  if (n == 0) return;
  CopyMatch(w.data, w.size, w.pos, reps_[0], n);
  w.Advance(n);
  pending_ -= uint32_t(n);
}

size_t LzmaDecoder::Decode(LzmaWindow& w, size_t limit, const uint8_t* in, size_t avail, bool final) {
  const uint8_t* p = in;
  const uint8_t* end = in + avail;
  if (needRangeStart_) {
    if (avail < 5) {
      if (final) ThrowDamaged("LZMA data ends early");
      return 0;
    }
    code_ = LoadBe32(p + 1);
    range_ = 0xFFFFFFFF;
    p += 5;
    needRangeStart_ = false;
  }
  CopyPending(w, limit);
  if (pending_ != 0) return size_t(p - in);
  if (size_t(end - p) > kMaxSymbolInput) p = Run<false>(w, limit, p, end - kMaxSymbolInput);
  if (final && w.pos < limit && pending_ == 0) {
    // The last bytes decode from a copy with room behind it, so that a damaged stream
    // reads zeros there and is caught after its symbol, never past the buffer.
    uint8_t tail[2 * kMaxSymbolInput] = {};
    size_t left = size_t(end - p);
    if (left != 0) std::memcpy(tail, p, left);
    p += Run<true>(w, limit, tail, tail + left) - tail;
  }
  return size_t(p - in);
}

// Decodes symbols while there is room below `limit`. Not kTail: `end` is the last place a
// symbol may start. kTail: `end` is where the input ends, and reading past it is damage.
template <bool kTail>
const uint8_t* LzmaDecoder::Run(LzmaWindow& w, size_t limit, const uint8_t* in, const uint8_t* end) {
  uint16_t* const probs = probs_.data();
  uint16_t* const literals = probs + kLiteral;
  uint8_t* const win = w.data;
  const size_t size = w.size;
  const unsigned lc = lc_, lpMask = lpMask_, pbMask = pbMask_;
  Range rc{range_, code_, in};
  size_t pos = w.pos;
  uint32_t written = w.written;
  bool full = w.full;
  unsigned state = state_;
  uint32_t rep0 = reps_[0], rep1 = reps_[1], rep2 = reps_[2], rep3 = reps_[3];
  uint32_t pending = 0;

  while (pos < limit) {
    if (rc.in > end) {
      if (kTail) ThrowDamaged("LZMA data ends early");
      break;
    }
    unsigned posState = written & pbMask;
    if (rc.Bit(probs[kIsMatch + state * 16 + posState]) == 0) {
      unsigned prev = (written != 0 || full) ? win[(pos != 0 ? pos : size) - 1] : 0;
      uint16_t* coder = literals + kLiteralCoderSize * (((written & lpMask) << lc) + (prev >> (8 - lc)));
      unsigned symbol = 1;
      if (state < kLiteralStates) {
        do symbol = (symbol << 1) | rc.FlatBit(coder[symbol]);
        while (symbol < 0x100);
      } else {
        // A literal after a match is coded against the byte the match would take next.
        unsigned matchByte = win[pos > rep0 ? pos - rep0 - 1 : pos + size - rep0 - 1];
        unsigned offset = 0x100;
        do {
          matchByte <<= 1;
          unsigned matchBit = matchByte & offset;
          unsigned bit = rc.Bit(coder[offset + matchBit + symbol]);
          symbol = (symbol << 1) | bit;
          offset &= matchBit ^ (bit - 1u);
        } while (symbol < 0x100);
      }
      win[pos++] = uint8_t(symbol);
      written++;
      state = kNextAfterLiteral[state];
      continue;
    }
    unsigned length;
    if (rc.Bit(probs[kIsRep + state]) == 0) {
      length = rc.Length(probs + kMatchLen, posState);
      state = state < kLiteralStates ? 7 : 10;
      unsigned slot = rc.Tree(probs + kPosSlot + std::min(length, 3u) * 64, 6);
      uint32_t distance = slot;
      if (slot >= 4) {
        unsigned direct = (slot >> 1) - 1;
        distance = (2 | (slot & 1)) << direct;
        if (slot < kEndPosModel) {
          distance += rc.ReverseTree(probs + kSpecPos + distance - slot - 1, direct);
        } else {
          uint32_t middle = 0;
          for (unsigned i = direct - 4; i != 0; i--) middle = (middle << 1) | rc.Direct();
          distance += middle << 4;
          distance += rc.ReverseTree(probs + kAlign, 4);
          // An end marker: the stream stops before its declared size.
          if (distance == kEndMarker) ThrowDamaged("LZMA data ends early");
        }
      }
      rep3 = rep2;
      rep2 = rep1;
      rep1 = rep0;
      rep0 = distance;
    } else {
      if (rc.Bit(probs[kIsRepG0 + state]) == 0) {
        if (rc.Bit(probs[kIsRep0Long + state * 16 + posState]) == 0) {
          if (written == 0 && !full) ThrowDamaged("LZMA data error");
          win[pos] = win[pos > rep0 ? pos - rep0 - 1 : pos + size - rep0 - 1];
          pos++;
          written++;
          state = state < kLiteralStates ? 9 : 11;
          continue;
        }
      } else {
        uint32_t distance;
        if (rc.Bit(probs[kIsRepG1 + state]) == 0) {
          distance = rep1;
        } else {
          if (rc.Bit(probs[kIsRepG2 + state]) == 0) {
            distance = rep2;
          } else {
            distance = rep3;
            rep3 = rep2;
          }
          rep2 = rep1;
        }
        rep1 = rep0;
        rep0 = distance;
      }
      length = rc.Length(probs + kRepLen, posState);
      state = state < kLiteralStates ? 8 : 11;
    }
    length += kMatchMinLength;
    if (!full && written >= size) full = true;
    if (rep0 >= (full ? size : written)) ThrowDamaged("LZMA data error");
    size_t n = std::min<size_t>(length, limit - pos);
    CopyMatch(win, size, pos, rep0, n);
    pos += n;
    written += uint32_t(n);
    pending = length - uint32_t(n);
    if (pending != 0) break;
  }
  if (kTail && rc.in > end) ThrowDamaged("LZMA data ends early");

  range_ = rc.range;
  code_ = rc.code;
  w.pos = pos;
  w.written = written;
  w.full = full || written >= size;
  state_ = state;
  reps_[0] = rep0;
  reps_[1] = rep1;
  reps_[2] = rep2;
  reps_[3] = rep3;
  pending_ = pending;
  return rc.in;
}

}  // namespace sevenzip
