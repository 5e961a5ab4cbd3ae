#pragma once
#include <cstdint>

namespace sevenzip {

// No coder may ask for more memory than this, whatever its properties say.
inline constexpr uint64_t kMaxDecoderMemory = uint64_t(1) << 30;

}  // namespace sevenzip
