#include "platform/Sha256Extensions.h"

#include <cpuid.h>
#include <immintrin.h>

#include <cstring>

namespace {

alignas(16) const std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// Hashes count 64-byte blocks into state (a..h). The extensions keep the state as the halves
// ABEF and CDGH, and each round pair takes four message words plus their constants.
__attribute__((target("sha,sse4.1,ssse3"))) void HashBlocks(std::uint32_t state[8], const std::uint8_t* blocks,
                                                            std::size_t count) {
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
  const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
  const __m128i hgfe = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
  __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
  __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xF0);
  for (; count > 0; --count, blocks += 64) {
    const __m128i abefBefore = abef;
    const __m128i cdghBefore = cdgh;
    __m128i words[4];
    // Unrolled, the four schedule vectors stay in registers and the branches go: half as
    // fast again as the loop.
#pragma GCC unroll 16
    for (int group = 0; group < 16; ++group) {
      __m128i& current = words[group % 4];
      if (group < 4) {
        current = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * group)), byteSwap);
      }
      __m128i message =
          _mm_add_epi32(current, _mm_load_si128(reinterpret_cast<const __m128i*>(kRoundConstants) + group));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
      // The schedule runs three groups ahead: words 16.. are finished from the two groups before.
      if (group >= 3 && group < 15) {
        __m128i& next = words[(group + 1) % 4];
        next = _mm_sha256msg2_epu32(_mm_add_epi32(next, _mm_alignr_epi8(current, words[(group + 3) % 4], 4)), current);
      }
      message = _mm_shuffle_epi32(message, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
      if (group >= 1 && group <= 12) {
        __m128i& previous = words[(group + 3) % 4];
        previous = _mm_sha256msg1_epu32(previous, current);
      }
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

}  // namespace

bool ExtensionSha256::Available() {
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & bit_SSSE3) || !(ecx & bit_SSE4_1)) return false;
  return __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) && (ebx & bit_SHA);
}

void ExtensionSha256::Start() {
  constexpr std::uint32_t kInitial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::memcpy(state_, kInitial, sizeof state_);
  length_ = 0;
}

void ExtensionSha256::Add(const void* bytes, std::size_t size) {
  auto* from = static_cast<const std::uint8_t*>(bytes);
  std::size_t held = length_ % 64;
  length_ += size;
  if (held > 0) {
    const std::size_t take = size < 64 - held ? size : 64 - held;
    std::memcpy(pending_ + held, from, take);
    from += take;
    size -= take;
    if (held + take < 64) return;
    HashBlocks(state_, pending_, 1);
  }
  HashBlocks(state_, from, size / 64);
  std::memcpy(pending_, from + size / 64 * 64, size % 64);
}

void ExtensionSha256::Finish(std::uint8_t digest[32]) {
  const std::uint64_t bits = length_ * 8;
  std::uint8_t tail[72] = {0x80};
  // Pads to 56 bytes past a block's start, then the length in bits, big-endian.
  const std::size_t padding = (119 - length_ % 64) % 64 + 1;
  for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
  Add(tail, padding + 8);
  for (int i = 0; i < 32; ++i) digest[i] = static_cast<std::uint8_t>(state_[i / 4] >> (24 - 8 * (i % 4)));
}
