#pragma once
#include <cstddef>
#include <cstdint>

#include "FilterSource.h"

namespace sevenzip {

// Undoes the x86 branch converter (BCJ): CALL/JMP targets that the encoder turned from
// relative into absolute addresses become relative again.
struct BcjX86State {
  uint32_t position = 0;  // stream offset of the buffer's first byte
  uint32_t prevMask = 0;  // which of the last three bytes were E8/E9 opcodes
};

// Converts in place; returns how many leading bytes are final. The rest (at most four bytes,
// a possibly cut instruction) must be passed again with more data, or left as is at the end.
size_t BcjX86Decode(uint8_t* data, size_t size, BcjX86State& state);

class BcjX86Filter : public BufferFilter {
 public:
  explicit BcjX86Filter(uint32_t start) { state_.position = start; }
  size_t Convert(uint8_t* data, size_t size) override { return BcjX86Decode(data, size, state_); }

 private:
  BcjX86State state_;
};

}  // namespace sevenzip
