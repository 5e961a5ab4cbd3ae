#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "ByteSource.h"
#include "DecoderMemory.h"

namespace sevenzip {

// What one decoder is built from: its input streams in the coder's own order, its
// properties and the size its output is declared to have.
struct CoderSetup {
  std::span<ByteSource* const> inputs;
  const std::vector<uint8_t>& properties;
  uint64_t unpackSize;
};

using MakeDecoder = std::unique_ptr<ByteSource> (*)(const CoderSetup& setup);

struct CoderMethod {
  uint64_t id;
  const char* name;    // as 7z names the method
  uint32_t inStreams;  // every method has one output stream
  MakeDecoder make;    // null for a method that is known but refused (encryption)
};

// Null for a method this library does not know.
const CoderMethod* FindCoderMethod(uint64_t id);

}  // namespace sevenzip
