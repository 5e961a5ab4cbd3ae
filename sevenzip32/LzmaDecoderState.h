#pragma once
#include <cstdint>
#include <memory>

extern "C" {
#include "LzmaDec.h"
// Defined in LzmaDec.c without a declaration in its header; LZMA2 needs the partial resets.
void LzmaDec_InitDicAndState(CLzmaDec* p, Bool initDic, Bool initState);
}

#include "ByteBuffer.h"
#include "ByteSource.h"

namespace sevenzip {

// The LZMA SDK decoder with a dictionary of our own and a buffered input, shared by the
// LZMA and LZMA2 sources. Decoded bytes wait in the dictionary until Read copies them out.
// The window is never larger than the declared output, so the decoder must never produce
// more than that: Room() counts down what is left of it.
class LzmaDecoderState {
public:
    LzmaDecoderState(ByteSource& input, uint64_t unpackSize);
    ~LzmaDecoderState();
    LzmaDecoderState(const LzmaDecoderState&) = delete;
    LzmaDecoderState& operator=(const LzmaDecoderState&) = delete;

    // Sets lc/lp/pb and the dictionary size from a 5-byte LZMA properties block.
    void SetProperties(const uint8_t* props, unsigned size);
    // Allocates the window once; only as much as this stream can fill.
    void AllocateDictionary(uint32_t dictionarySize);
    // Copies decoded bytes still held in the dictionary; returns how many.
    size_t TakeDecoded(uint8_t* dest, size_t size);
    // Room for at most this many new bytes: before the dictionary wraps and within the
    // declared output. 0 once all of it was decoded.
    size_t Room();
    // Bytes of the declared output not decoded yet.
    uint64_t OutputLeft() const { return outputLeft_; }
    // Makes sure input bytes are buffered; false at the end of the input.
    bool FillInput();
    // Runs the decoder up to `want` new bytes (at most Room()) over the buffered input, of
    // which it may use up to inputLimit bytes; returns how many it produced.
    size_t Decode(size_t want, size_t inputLimit, ELzmaStatus& status);
    // Appends stored bytes from the buffered input, as a stored LZMA2 chunk does.
    size_t Store(size_t want);

    CLzmaDec decoder{};
    ByteBuffer inBuffer;
    size_t inPos = 0;
    size_t inEnd = 0;

private:
    void ClampDictionarySize();

    ByteSource& input_;
    uint64_t outputLeft_;
    ByteBuffer dictionary_;
    size_t outPos_ = 0;
};

}  // namespace sevenzip
