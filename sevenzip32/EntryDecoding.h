#pragma once
#include <functional>

#include "Archive.h"

namespace sevenzip {

// Decodes the data of every entry in the order extraction takes them and checks each
// entry's length and CRC, keeping nothing. onEntry hears of an entry before its data is
// decoded, so an ArchiveError thrown from here belongs to the entry last announced.
void DecodeAllEntries(Archive& archive, const std::function<void(const Entry&)>& onEntry);

}  // namespace sevenzip
