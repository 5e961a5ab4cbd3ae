#include "Deflate64Source.h"

#include <algorithm>

#include "ArchiveError.h"

namespace sevenzip {
namespace {

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 3};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
constexpr uint32_t kDistanceBase[32] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                        49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                        2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr uint8_t kDistanceExtra[32] = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                        7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr unsigned kEndOfBlock = 256;

}  // namespace

Deflate64Source::Deflate64Source(ByteSource& input) : input_(input), in_(1 << 16), window_(kWindowMask + 1) {}

void Deflate64Source::Refill() {
  while (bitCount_ <= 56) {
    if (inPos_ == inEnd_) {
      if (inputEnded_) return;
      inEnd_ = input_.Read(in_.data(), in_.size());
      inPos_ = 0;
      inputEnded_ = inEnd_ < in_.size();
      if (inEnd_ == 0) return;
    }
    bitBuf_ |= uint64_t(in_[inPos_++]) << bitCount_;
    bitCount_ += 8;
  }
}

uint32_t Deflate64Source::Bits(unsigned n) {
  if (bitCount_ < n) {
    Refill();
    if (bitCount_ < n) ThrowDamaged("Deflate64 data ends early");
  }
  uint32_t v = uint32_t(bitBuf_ & ((uint64_t(1) << n) - 1));
  bitBuf_ >>= n;
  bitCount_ -= n;
  return v;
}

unsigned Deflate64Source::DecodeSymbol(const DeflateHuffman& code) {
  if (bitCount_ < DeflateHuffman::kMaxBits) Refill();
  uint32_t e = code.Lookup(bitBuf_);
  unsigned len = (e >> 16) & 0xF;
  if (e == 0) ThrowDamaged("Deflate64 code that does not exist");
  if (len > bitCount_) ThrowDamaged("Deflate64 data ends early");
  bitBuf_ >>= len;
  bitCount_ -= len;
  return e & 0xFFFF;
}

void Deflate64Source::ReadBlockHeader() {
  lastBlock_ = Bits(1) != 0;
  switch (Bits(2)) {
    case 0: {
      Bits(bitCount_ % 8);  // stored blocks start on a byte boundary
      uint32_t len = Bits(16), check = Bits(16);
      if ((len ^ check) != 0xFFFF) ThrowDamaged("Deflate64 stored block length");
      storedLeft_ = len;
      block_ = Block::Stored;
      return;
    }
    case 1: {
      uint8_t lengths[288 + 32];
      std::fill(lengths, lengths + 144, 8);
      std::fill(lengths + 144, lengths + 256, 9);
      std::fill(lengths + 256, lengths + 280, 7);
      std::fill(lengths + 280, lengths + 288, 8);
      std::fill(lengths + 288, lengths + 320, 5);
      literals_.Build({lengths, 288}, false);
      distances_.Build({lengths + 288, 32}, false);
      break;
    }
    case 2: ReadDynamicCodes(); break;
    default: ThrowDamaged("Deflate64 block type");
  }
  block_ = Block::Huffman;
}

void Deflate64Source::ReadDynamicCodes() {
  unsigned literalCount = Bits(5) + 257, distanceCount = Bits(5) + 1, lengthCodes = Bits(4) + 4;
  uint8_t codeLengths[19] = {};
  for (unsigned i = 0; i < lengthCodes; ++i) codeLengths[kCodeLengthOrder[i]] = uint8_t(Bits(3));
  DeflateHuffman lengthCode;
  lengthCode.Build(codeLengths, false);

  uint8_t lengths[288 + 32] = {};
  const unsigned total = literalCount + distanceCount;
  for (unsigned i = 0; i < total;) {
    unsigned sym = DecodeSymbol(lengthCode);
    if (sym < 16) {
      lengths[i++] = uint8_t(sym);
      continue;
    }
    uint8_t value = 0;
    unsigned repeat;
    if (sym == 16) {
      if (i == 0) ThrowDamaged("Deflate64 repeat without a length");
      value = lengths[i - 1];
      repeat = 3 + Bits(2);
    } else if (sym == 17) {
      repeat = 3 + Bits(3);
    } else {
      repeat = 11 + Bits(7);
    }
    if (repeat > total - i) ThrowDamaged("Deflate64 code lengths overrun");
    std::fill(lengths + i, lengths + i + repeat, value);
    i += repeat;
  }
  if (lengths[kEndOfBlock] == 0) ThrowDamaged("Deflate64 block without an end code");
  literals_.Build({lengths, literalCount}, true);
  distances_.Build({lengths + literalCount, distanceCount}, true);
}

size_t Deflate64Source::Read(uint8_t* dest, size_t size) {
  size_t done = 0;
  while (done < size) {
    if (matchLeft_ != 0) {
      size_t n = matchLeft_ < size - done ? matchLeft_ : size - done;
      matchLeft_ -= uint32_t(n);
      for (; n != 0; --n) Emit(window_[(windowPos_ - matchDistance_) & kWindowMask], dest, done);
      continue;
    }
    switch (block_) {
      case Block::Done: return done;
      case Block::Header: ReadBlockHeader(); break;
      case Block::Stored:
        if (storedLeft_ == 0) {
          block_ = lastBlock_ ? Block::Done : Block::Header;
        } else {
          --storedLeft_;
          Emit(uint8_t(Bits(8)), dest, done);
        }
        break;
      case Block::Huffman: {
        unsigned sym = DecodeSymbol(literals_);
        if (sym < 256) {
          Emit(uint8_t(sym), dest, done);
          break;
        }
        if (sym == kEndOfBlock) {
          block_ = lastBlock_ ? Block::Done : Block::Header;
          break;
        }
        sym -= 257;
        if (sym >= 29) ThrowDamaged("Deflate64 length code");
        matchLeft_ = kLengthBase[sym] + Bits(kLengthExtra[sym]);
        unsigned d = DecodeSymbol(distances_);
        matchDistance_ = kDistanceBase[d] + Bits(kDistanceExtra[d]);
        if (matchDistance_ > windowPos_) ThrowDamaged("Deflate64 distance before the start");
        break;
      }
    }
  }
  return done;
}

}  // namespace sevenzip
