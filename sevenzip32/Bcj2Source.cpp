#include "Bcj2Source.h"

#include <algorithm>
#include <cstring>

#include "ArchiveError.h"
#include "ByteOrder.h"

namespace sevenzip {
namespace {

constexpr unsigned kProbBits = 11;
constexpr unsigned kMoveBits = 5;
constexpr uint32_t kTopValue = 1u << 24;

// E8 (CALL), E9 (JMP) and 0F 80..8F (Jcc) carry a 32-bit relative target.
bool IsJump(uint8_t prev, uint8_t b) { return (b & 0xFE) == 0xE8 || (prev == 0x0F && (b & 0xF0) == 0x80); }

constexpr uint64_t kEachByte = 0x0101010101010101;

bool HasZeroByte(uint64_t v) { return ((v - kEachByte) & ~v & (kEachByte << 7)) != 0; }

// Index of the first opcode in p[0, n), or n; prev is the byte before p[0]. Eight bytes at a
// time while none of them is E8/E9 and none follows a 0F.
size_t FindJump(const uint8_t* p, size_t n, uint8_t prev) {
  if (n == 0 || IsJump(prev, p[0])) return 0;
  size_t i = 1;
  for (; i + 8 <= n; i += 8) {
    uint64_t here, before;
    std::memcpy(&here, p + i, 8);
    std::memcpy(&before, p + i - 1, 8);
    if (!HasZeroByte((here & (0xFE * kEachByte)) ^ (0xE8 * kEachByte)) && !HasZeroByte(before ^ (0x0F * kEachByte)))
      continue;
    for (size_t k = i; k < i + 8; ++k)
      if (IsJump(p[k - 1], p[k])) return k;
  }
  for (; i < n; ++i)
    if (IsJump(p[i - 1], p[i])) return i;
  return n;
}

}  // namespace

bool Bcj2Source::Input::Fill() {
  size_t kept = end_ - pos_;
  std::copy(buffer_.begin() + long(pos_), buffer_.begin() + long(end_), buffer_.begin());
  pos_ = 0;
  end_ = kept + source_.Read(buffer_.data() + kept, buffer_.size() - kept);
  return end_ > kept;
}

uint8_t Bcj2Source::Input::Byte(const char* missing) {
  if (pos_ == end_ && !Fill()) ThrowDamaged(missing);
  return buffer_[pos_++];
}

uint32_t Bcj2Source::Input::BigEndian32(const char* missing) {
  while (Available() < 4)
    if (!Fill()) ThrowDamaged(missing);
  uint32_t v = LoadBe32(Data());
  pos_ += 4;
  return v;
}

Bcj2Source::Bcj2Source(std::span<ByteSource* const> inputs, uint64_t unpackSize)
    : main_(*inputs[0], 1 << 18),
      call_(*inputs[1], 1 << 16),
      jump_(*inputs[2], 1 << 16),
      rc_(*inputs[3], 1 << 16),
      totalSize_(unpackSize),
      remaining_(unpackSize) {
  for (auto& p : probs_) p = 1u << (kProbBits - 1);
  for (int i = 0; i < 5; ++i) code_ = (code_ << 8) | rc_.Byte("BCJ2 range coder stream ends early");
}

bool Bcj2Source::DecodeBit(uint16_t& prob) {
  if (range_ < kTopValue) {
    range_ <<= 8;
    code_ = (code_ << 8) | rc_.Byte("BCJ2 range coder stream ends early");
  }
  uint32_t bound = (range_ >> kProbBits) * prob;
  if (code_ < bound) {
    range_ = bound;
    prob = uint16_t(prob + (((1u << kProbBits) - prob) >> kMoveBits));
    return false;
  }
  range_ -= bound;
  code_ -= bound;
  prob = uint16_t(prob - (prob >> kMoveBits));
  return true;
}

// The opcode just handed out had its target moved: fetch it and make it relative again.
void Bcj2Source::ConvertTarget(uint8_t opcode) {
  uint32_t absolute = opcode == 0xE8 ? call_.BigEndian32("BCJ2 call stream ends early")
                                     : jump_.BigEndian32("BCJ2 jump stream ends early");
  if (remaining_ < 4) ThrowDamaged("BCJ2 target past the end");
  uint32_t next = uint32_t(totalSize_ - remaining_) + 4;
  StoreLe32(target_, absolute - next);
  prevByte_ = target_[3];
  targetPos_ = 0;
}

size_t Bcj2Source::Read(uint8_t* dest, size_t size) {
  size_t done = 0;
  while (done < size && remaining_ > 0) {
    if (targetPos_ < 4) {
      dest[done++] = target_[targetPos_++];
      --remaining_;
      continue;
    }
    if (bitPending_) {
      bitPending_ = false;
      uint8_t opcode = prevByte_;
      uint16_t& prob = opcode == 0xE8 ? probs_[2 + lastPrev_] : probs_[opcode == 0xE9 ? 0 : 1];
      if (DecodeBit(prob)) ConvertTarget(opcode);
      continue;
    }
    if (main_.Available() == 0 && !main_.Fill()) break;
    // Copy plain bytes up to and including the next opcode.
    const uint8_t* src = main_.Data();
    size_t n = main_.Available();
    if (n > size - done) n = size_t(size - done);
    if (n > remaining_) n = size_t(remaining_);
    size_t i = FindJump(src, n, prevByte_);
    if (i < n) {
      lastPrev_ = i == 0 ? prevByte_ : src[i - 1];
      bitPending_ = true;
      ++i;
    }
    std::memcpy(dest + done, src, i);
    main_.Skip(i);
    done += i;
    remaining_ -= i;
    prevByte_ = src[i - 1];
  }
  return done;
}

}  // namespace sevenzip
