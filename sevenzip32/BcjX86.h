#pragma once
#include <cstddef>
#include <cstdint>

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

}  // namespace sevenzip
