#include "LzmaDecoderState.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <cstring>

#include "ArchiveError.h"

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
    : inBuffer(kInputBufferSize), input_(input), unpackSize_(unpackSize) {
    LzmaDec_Construct(&decoder);
}

LzmaDecoderState::~LzmaDecoderState() { LzmaDec_FreeProbs(&decoder, &gAllocator); }

void LzmaDecoderState::SetProperties(const uint8_t* props, unsigned size) {
    SRes res = LzmaDec_AllocateProbs(&decoder, props, size, &gAllocator);
    if (res == SZ_ERROR_MEM) throw std::bad_alloc();
    if (res != SZ_OK) ThrowUnsupported("LZMA properties");
}

void LzmaDecoderState::AllocateDictionary(uint32_t dictionarySize) {
    // A small file needs no 64 MiB window.
    uint64_t size = dictionarySize < unpackSize_ ? dictionarySize : unpackSize_;
    if (size < kMinDictionary) size = kMinDictionary;
    if (size > SIZE_MAX / 2) throw std::bad_alloc();
    dictionary_.resize(size_t(size));
    decoder.dic = dictionary_.data();
    decoder.dicBufSize = dictionary_.size();
    decoder.prop.dicSize = dictionarySize;
}

size_t LzmaDecoderState::TakeDecoded(uint8_t* dest, size_t size) {
    size_t n = decoder.dicPos - outPos_;
    if (n > size) n = size;
    std::memcpy(dest, decoder.dic + outPos_, n);
    outPos_ += n;
    return n;
}

size_t LzmaDecoderState::Room() {
    if (decoder.dicPos == decoder.dicBufSize && outPos_ == decoder.dicPos) decoder.dicPos = outPos_ = 0;
    return decoder.dicBufSize - decoder.dicPos;
}

bool LzmaDecoderState::FillInput() {
    if (inPos < inEnd) return true;
    inPos = 0;
    inEnd = input_.Read(inBuffer.data(), inBuffer.size());
    return inEnd > 0;
}

}  // namespace sevenzip
