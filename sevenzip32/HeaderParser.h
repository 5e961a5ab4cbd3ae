#pragma once
#include <cstddef>
#include <cstdint>

#include "ArchiveModel.h"

namespace sevenzip {

// What the next-header bytes hold: the header itself, or the streams that hold it packed.
enum class HeaderKind { Plain, Encoded };

// Parses one header block (after its CRC was checked). An encoded header only fills
// database.streams, describing where the packed real header is.
HeaderKind ParseHeader(const uint8_t* data, size_t size, ArchiveDatabase& database);

}  // namespace sevenzip
