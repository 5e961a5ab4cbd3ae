#pragma once
#include <vector>

#include "BcjX86.h"
#include "ByteSource.h"

namespace sevenzip {

// Runs the x86 BCJ decoder over another source (7z methods 03 03 01 03 and 04).
class BcjX86Source : public ByteSource {
public:
    explicit BcjX86Source(ByteSource& input);
    size_t Read(uint8_t* dest, size_t size) override;

private:
    ByteSource& input_;
    BcjX86State state_;
    std::vector<uint8_t> buffer_;
    size_t outPos_ = 0;     // next byte to hand out
    size_t finalEnd_ = 0;   // end of the converted bytes
    size_t filledEnd_ = 0;  // end of the bytes read from the input
    bool inputEnded_ = false;
};

}  // namespace sevenzip
