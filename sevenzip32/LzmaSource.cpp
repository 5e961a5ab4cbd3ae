#include "LzmaSource.h"

#include "ArchiveError.h"

namespace sevenzip {

LzmaSource::LzmaSource(ByteSource& input, const std::vector<uint8_t>& properties, uint64_t unpackSize)
    : state_(input, unpackSize), remaining_(unpackSize) {
    if (properties.size() != LZMA_PROPS_SIZE) ThrowUnsupported("LZMA properties size");
    state_.SetProperties(properties.data(), LZMA_PROPS_SIZE);
    state_.AllocateDictionary(state_.decoder.prop.dicSize);
    LzmaDec_Init(&state_.decoder);
}

size_t LzmaSource::Read(uint8_t* dest, size_t size) {
    size_t done = state_.TakeDecoded(dest, size);
    while (done < size && remaining_ > 0) {
        size_t room = state_.Room();
        size_t want = remaining_ < room ? size_t(remaining_) : room;
        if (!state_.FillInput()) ThrowDamaged("LZMA data ends early");
        CLzmaDec& d = state_.decoder;
        size_t before = d.dicPos;
        SizeT inLen = state_.inEnd - state_.inPos;
        ELzmaStatus status;
        SRes res = LzmaDec_DecodeToDic(&d, d.dicPos + want, state_.inBuffer.data() + state_.inPos, &inLen,
                                       LZMA_FINISH_ANY, &status);
        state_.inPos += inLen;
        size_t produced = d.dicPos - before;
        remaining_ -= produced;
        if (res != SZ_OK) ThrowDamaged("LZMA data error");
        if (produced == 0 && inLen == 0) ThrowDamaged("LZMA stream ends early");
        done += state_.TakeDecoded(dest + done, size - done);
    }
    return done;
}

}  // namespace sevenzip
