#include "LzmaDecoderState.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ArchiveError.h"
#include "DecoderMemory.h"

namespace sevenzip {
namespace {

void* Alloc(void*, size_t size) { return std::malloc(size); }
void Free(void*, void* address) { std::free(address); }
ISzAlloc gAllocator = {Alloc, Free};

constexpr size_t kInputBufferSize = 1 << 18;
// LzmaDec itself never references more than 4 KiB below a dictionary this small.
constexpr uint64_t kMinDictionary = 1 << 12;

}  // namespace

LzmaDecoderState::LzmaDecoderState(ByteSource& input, uint64_t unpackSize)
    : inBuffer(kInputBufferSize), input_(input), outputLeft_(unpackSize) {
    LzmaDec_Construct(&decoder);
}

LzmaDecoderState::~LzmaDecoderState() { LzmaDec_FreeProbs(&decoder, &gAllocator); }

void LzmaDecoderState::SetProperties(const uint8_t* props, unsigned size) {
    SRes res = LzmaDec_AllocateProbs(&decoder, props, size, &gAllocator);
    if (res == SZ_ERROR_MEM) throw std::bad_alloc();
    if (res != SZ_OK) ThrowUnsupported("LZMA properties");
    ClampDictionarySize();
}

void LzmaDecoderState::AllocateDictionary(uint32_t dictionarySize) {
    // A small file needs no 64 MiB window.
    uint64_t size = std::max(std::min<uint64_t>(dictionarySize, outputLeft_), kMinDictionary);
    if (size > kMaxDecoderMemory) ThrowUnsupported("LZMA dictionary too large");
    dictionary_ = ByteBuffer(size_t(size));
    decoder.dic = dictionary_.data();
    decoder.dicBufSize = dictionary_.size();
    decoder.prop.dicSize = dictionarySize;
    ClampDictionarySize();
}

// Matches may reach back as far as the dictionary size says; the window we allocated is all
// there is, so the decoder must treat anything further back as damage.
void LzmaDecoderState::ClampDictionarySize() {
    if (decoder.dicBufSize != 0 && decoder.prop.dicSize > decoder.dicBufSize)
        decoder.prop.dicSize = uint32_t(decoder.dicBufSize);
}

size_t LzmaDecoderState::TakeDecoded(uint8_t* dest, size_t size) {
    size_t n = std::min(decoder.dicPos - outPos_, size);
    std::memcpy(dest, decoder.dic + outPos_, n);
    outPos_ += n;
    return n;
}

size_t LzmaDecoderState::Room() {
    if (decoder.dicPos == decoder.dicBufSize && outPos_ == decoder.dicPos) decoder.dicPos = outPos_ = 0;
    return size_t(std::min<uint64_t>(decoder.dicBufSize - decoder.dicPos, outputLeft_));
}

bool LzmaDecoderState::FillInput() {
    if (inPos < inEnd) return true;
    inPos = 0;
    inEnd = input_.Read(inBuffer.data(), inBuffer.size());
    return inEnd > 0;
}

size_t LzmaDecoderState::Decode(size_t want, size_t inputLimit, ELzmaStatus& status) {
    want = std::min(want, Room());
    SizeT inLen = std::min(inEnd - inPos, inputLimit);
    size_t before = decoder.dicPos;
    SRes res = LzmaDec_DecodeToDic(&decoder, before + want, inBuffer.data() + inPos, &inLen, LZMA_FINISH_ANY, &status);
    inPos += inLen;
    size_t produced = decoder.dicPos - before;
    outputLeft_ -= produced;
    if (res != SZ_OK) ThrowDamaged("LZMA data error");
    return produced;
}

size_t LzmaDecoderState::Store(size_t want) {
    size_t n = std::min({want, Room(), inEnd - inPos});
    std::memcpy(decoder.dic + decoder.dicPos, inBuffer.data() + inPos, n);
    if (decoder.checkDicSize == 0 && decoder.prop.dicSize - decoder.processedPos <= n)
        decoder.checkDicSize = decoder.prop.dicSize;
    decoder.processedPos += uint32_t(n);
    decoder.dicPos += n;
    inPos += n;
    outputLeft_ -= n;
    return n;
}

}  // namespace sevenzip
